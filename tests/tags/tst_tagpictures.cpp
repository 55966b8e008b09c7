// Pictures of a tag: listed, the front cover set (JPEG or PNG, MIME type from the bytes) or
// removed through the save that keeps every other frame, as mutagen reads them back.
#include "tags/tagpictures.h"

#include "tagtestutil.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace tagtest;

namespace {

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput() : "";
}

QJsonObject dump(const QString &path)
{
    return QJsonDocument::fromJson(
               run("/usr/bin/python3", {QFINDTESTDATA("richtag.py"), "dump", path}))
        .object();
}

QByteArray pngBytes()
{
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

QString sha1(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

} // namespace

class TestTagPictures : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    QJsonObject m_before;

private slots:
    void init()
    {
        m_path = m_dir.filePath("rich.mp3");
        QFile::remove(m_path);
        QVERIFY(writeAll(m_path, mpegFrames(8)));
        QVERIFY(
            run("/usr/bin/python3", {QFINDTESTDATA("richtag.py"), "write", m_path, "4"}).isEmpty());
        m_before = dump(m_path);
        QVERIFY(m_before.contains("APIC:recto"));
    }

    void listsEveryPicture()
    {
        QList<tags::TagPicture> pictures = tags::readPictures(m_path).value();
        QCOMPARE(pictures.size(), 2);
        if (pictures[0].type != tags::FrontCover)
            std::swap(pictures[0], pictures[1]);
        QCOMPARE((QList<int>{pictures[0].type, pictures[1].type}), (QList<int>{3, 4}));
        QCOMPARE((QStringList{pictures[0].mime, pictures[1].mime, pictures[1].description}),
                 (QStringList{"image/jpeg", "image/png", "verso"}));
        QCOMPARE(pictures[0].data, QByteArray("\xFF\xD8\xFF") + QByteArray(300, '\0'));
    }

    void edits_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QStringList>("removed"); // keys of the dump that go
        QTest::addColumn<QString>("recto");       // the front cover after, as richtag shows it
        QTest::newRow("PNG replaces the front cover")
            << int(tags::PictureEdit::SetFrontCover) << pngBytes() << QStringList{}
            << "image/png:PictureType.COVER_FRONT:" + sha1(pngBytes());
        QTest::newRow("JPEG replaces the front cover")
            << int(tags::PictureEdit::SetFrontCover) << jpegBytes() << QStringList{}
            << "image/jpeg:PictureType.COVER_FRONT:" + sha1(jpegBytes());
        QTest::newRow("remove the back cover")
            << int(tags::PictureEdit::RemoveOne) << QByteArray() << QStringList{"APIC:verso"} << "";
        QTest::newRow("remove all") << int(tags::PictureEdit::RemoveAll) << QByteArray()
                                    << QStringList{"APIC:recto", "APIC:verso"} << "";
    }
    void edits()
    {
        QFETCH(int, action);
        QFETCH(QByteArray, image);
        QFETCH(QStringList, removed);
        QFETCH(QString, recto);
        const QList<tags::TagPicture> pictures = tags::readPictures(m_path).value();
        const qsizetype back = pictures[0].type == 4 ? 0 : 1;
        const tags::Result<tags::SaveKind> saved =
            action == tags::PictureEdit::SetFrontCover ? tags::setFrontCover(m_path, image)
            : action == tags::PictureEdit::RemoveOne   ? tags::removePicture(m_path, back)
                                                       : tags::removePictures(m_path);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
        QJsonObject expected = m_before;
        for (const QString &key : removed)
            expected.remove(key);
        if (!recto.isEmpty())
            expected["APIC:recto"] = recto;
        QCOMPARE(dump(m_path), expected);
    }

    void refusesWhatIsNoImage()
    {
        const QByteArray before = readAll(m_path);
        QVERIFY(!tags::setFrontCover(m_path, "GIF89a....").ok());
        QVERIFY(!tags::removePicture(m_path, 2).ok());
        QCOMPARE(readAll(m_path), before);
    }

    // tarvex-cli set --image takes a PNG whatever its name; tags lists every picture.
    void commandLine()
    {
        const QString png = m_dir.filePath("pochette.jpg");
        QVERIFY(writeAll(png, pngBytes()));
        const QString cli = qEnvironmentVariable("TARVEX_CLI");
        QVERIFY(!run(cli, {"set", "--image=" + png, m_path}).isEmpty());
        const QJsonArray images = QJsonDocument::fromJson(run(cli, {"tags", m_path}))
                                      .array()
                                      .at(0)["v2"]["Images"]
                                      .toArray();
        const QJsonObject cover = {
            {"type", 3}, {"mime", "image/png"}, {"octets", int(pngBytes().size())}};
        const QJsonObject back = {{"type", 4}, {"mime", "image/png"}, {"octets", 204}};
        QVERIFY(images == QJsonArray({cover, back}) || images == QJsonArray({back, cover}));
    }
};

QTEST_GUILESS_MAIN(TestTagPictures)
#include "tst_tagpictures.moc"
