#include "tags/genres.h"
#include "tags/id3v2frames.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"

#include "tagtestutil.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace tagtest;

namespace {

// Prints, as JSON, the ID3v2 frames mutagen reads from each file given (without upgrading
// version 2.3 frames), or {"erreur": ...} when it reads none.
const char *const mutagenDump = R"(
import hashlib, json, sys
from mutagen.id3 import ID3
out = []
for path in sys.argv[1:]:
    try:
        tags = ID3(path, translate=False, load_v1=False)
    except Exception as e:
        out.append({'erreur': str(e)})
        continue
    entry = {'version': tags.version[1]}
    for key in ('TIT2', 'TPE1', 'TALB', 'TRCK', 'TYER', 'TDRC', 'TCOM', 'TOPE', 'TCOP', 'TENC'):
        frames = tags.getall(key)
        if frames and frames[0].text:
            entry[key] = str(frames[0].text[0])
    tcon = tags.getall('TCON')
    if tcon and tcon[0].genres:
        entry['TCON'] = tcon[0].genres[0]
    comm = [f for f in tags.getall('COMM') if f.desc == '']
    if comm and comm[0].text:
        entry['COMM'] = comm[0].text[0]
    wxxx = tags.getall('WXXX')
    if wxxx:
        entry['WXXX'] = wxxx[0].url
    apic = tags.getall('APIC')
    if apic:
        entry['APIC'] = hashlib.sha1(apic[-1].data).hexdigest()
    out.append(entry)
print(json.dumps(out))
)";

// Writes a tag with mutagen: version 3 or 4, text encoding 0 to 3.
const char *const mutagenWrite = R"(
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TCON, COMM, TDRC, TCOM, WXXX, APIC
path, version, enc = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
tags = ID3()
tags.add(TIT2(encoding=enc, text='Élégie'))
tags.add(TPE1(encoding=enc, text='Fauré' if enc == 0 else 'Шостакович'))
tags.add(TALB(encoding=enc, text='Mélodies'))
tags.add(TRCK(encoding=enc, text='5/10'))
tags.add(TCON(encoding=enc, text='Chanson'))
tags.add(COMM(encoding=enc, lang='fra', desc='', text='Très bien'))
tags.add(TDRC(encoding=enc, text='2004'))
tags.add(TCOM(encoding=enc, text='Gabriel'))
tags.add(WXXX(encoding=enc, desc='site', url='http://exemple.fr'))
tags.add(APIC(encoding=enc, mime='image/jpeg', type=3, desc='pochette', data=bytes(range(256)) * 4))
tags.save(path, v2_version=version)
)";

QJsonArray dump(const QStringList &files)
{
    return QJsonDocument::fromJson(runMutagen(QString::fromUtf8(mutagenDump), files)).array();
}

// First offset from `from` where a complete MPEG audio frame header starts (11 sync bits, and
// a version, layer, bit rate and frequency that exist), or -1.
qsizetype firstFrameHeader(const QByteArray &bytes, qsizetype from)
{
    for (qsizetype i = from; i + 3 < bytes.size(); ++i) {
        const auto b0 = uchar(bytes[i]), b1 = uchar(bytes[i + 1]), b2 = uchar(bytes[i + 2]);
        if (b0 == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x18) != 0x08 && (b1 & 0x06) != 0 &&
            (b2 & 0xF0) != 0xF0 && (b2 & 0x0C) != 0x0C)
            return i;
    }
    return -1;
}

// End of the ID3v2 tags that open the bytes.
qsizetype tagsEnd(const QByteArray &bytes)
{
    qsizetype at = 0;
    while (true) {
        const qint64 size =
            tags::id3v2DeclaredSize(QByteArrayView(bytes).sliced(std::min(at, bytes.size())));
        if (size == 0 || at + size > bytes.size())
            return std::min<qsizetype>(at + qsizetype(size), bytes.size());
        at += qsizetype(size);
    }
}

} // namespace

class TestInterop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mutagenReadsTarvex();
    void tarvexReadsMutagen_data();
    void tarvexReadsMutagen();
    void corpusAgreesWithMutagen();
    void corpusSaveKeepsAudio();
};

void TestInterop::initTestCase()
{
    if (!haveMutagen())
        QSKIP("mutagen (python3-mutagen) n'est pas installé");
}

void TestInterop::mutagenReadsTarvex()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    QVERIFY(writeAll(path, mpegFrames(4)));
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    const QString jpeg = dir.filePath("p.jpg");
    QVERIFY(image.save(jpeg, "JPG"));
    tags::TypeTagV2 t;
    t.setValide(true);
    t.setTitre("Où est passée la sœur ?");
    t.setArtiste("Чайковский");
    t.setAlbum("日本の歌 🎵");
    t.setAnnee("1999");
    t.setCommentaire("Crème brûlée — 5 €");
    t.setPiste("4/11");
    t.setGenre(102);
    t.setCompositeur("Ravel");
    t.setOriginal("Ὅμηρος");
    t.setCopyright("© Label");
    t.setUrl("http://exemple.fr/à");
    t.setEncode("Tarvex");
    t.SetPicFromFile(jpeg);
    QVERIFY(*tags::writeTagV2(path, t));

    const QJsonObject read = dump({path}).at(0).toObject();
    QCOMPARE(read["version"].toInt(), 3);
    QCOMPARE(read["TIT2"].toString(), t.Titre());
    QCOMPARE(read["TPE1"].toString(), t.Artiste());
    QCOMPARE(read["TALB"].toString(), t.Album());
    QCOMPARE(read["TYER"].toString(), t.Annee());
    QCOMPARE(read["COMM"].toString(), t.Commentaire());
    QCOMPARE(read["TRCK"].toString(), t.Piste());
    QCOMPARE(read["TCON"].toString(), QStringLiteral("Chanson"));
    QCOMPARE(read["TCOM"].toString(), t.Compositeur());
    QCOMPARE(read["TOPE"].toString(), t.Original());
    QCOMPARE(read["TCOP"].toString(), t.Copyright());
    QCOMPARE(read["WXXX"].toString(), t.Url());
    QCOMPARE(read["TENC"].toString(), t.Encode());
    QCOMPARE(read["APIC"].toString(),
             QString::fromLatin1(
                 QCryptographicHash::hash(readAll(jpeg), QCryptographicHash::Sha1).toHex()));
}

void TestInterop::tarvexReadsMutagen_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("encoding");
    QTest::newRow("v2.3 Latin-1") << 3 << 0;
    QTest::newRow("v2.3 UTF-16") << 3 << 1;
    QTest::newRow("v2.4 Latin-1") << 4 << 0;
    QTest::newRow("v2.4 UTF-16") << 4 << 1;
    QTest::newRow("v2.4 UTF-16BE") << 4 << 2;
    QTest::newRow("v2.4 UTF-8") << 4 << 3;
}

void TestInterop::tarvexReadsMutagen()
{
    QFETCH(int, version);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath("a.mp3");
    const QByteArray audio = mpegFrames(5);
    QVERIFY(writeAll(path, audio));
    QVERIFY(!runMutagen(QString::fromUtf8(mutagenWrite),
                        {path, QString::number(version), QString::number(encoding)})
                 .isNull());
    const tags::TypeTagV2 t = *tags::readTagV2(path);
    QVERIFY(t.Valide());
    QCOMPARE(t.Titre(), QStringLiteral("Élégie"));
    QCOMPARE(t.Artiste(), encoding == 0 ? QStringLiteral("Fauré") : QStringLiteral("Шостакович"));
    QCOMPARE(t.Album(), QStringLiteral("Mélodies"));
    QCOMPARE(t.Piste(), QStringLiteral("5/10"));
    QCOMPARE(t.Genre(), 102);
    QCOMPARE(t.Commentaire(), QStringLiteral("Très bien"));
    QCOMPARE(t.Annee(), QStringLiteral("2004"));
    QCOMPARE(t.Compositeur(), QStringLiteral("Gabriel"));
    QCOMPARE(t.Url(), QStringLiteral("http://exemple.fr"));
    QByteArray picture;
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 256; ++b)
            picture.append(char(b));
    QCOMPARE(t.PictureBinary(), picture);

    // Saving over it keeps the picture and the audio; mutagen still reads the result.
    tags::TypeTagV2 edited = t;
    edited.setTitre("Modifié");
    QVERIFY(*tags::writeTagV2(path, edited));
    const QByteArray saved = readAll(path);
    QCOMPARE(saved.mid(qsizetype(tags::id3v2DeclaredSize(saved))), audio);
    const QJsonObject read = dump({path}).at(0).toObject();
    QCOMPARE(read["TIT2"].toString(), QStringLiteral("Modifié"));
    QCOMPARE(read["TPE1"].toString(), t.Artiste());
    QCOMPARE(
        read["APIC"].toString(),
        QString::fromLatin1(QCryptographicHash::hash(picture, QCryptographicHash::Sha1).toHex()));
}

void TestInterop::corpusAgreesWithMutagen()
{
    const QStringList files = corpusFiles({"*.mp3", "*.id3"});
    if (files.isEmpty())
        QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
    const QJsonArray peer = dump(files);
    QCOMPARE(peer.size(), files.size());
    int compared = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const tags::Result<tags::TypeTagV2> ours = tags::readTagV2(files[i]);
        QVERIFY2(ours.ok(), qPrintable(files[i]));
        const QJsonObject theirs = peer.at(i).toObject();
        if (theirs.contains("erreur"))
            continue;
        const QString name = QFileInfo(files[i]).fileName();
        QVERIFY2(ours->Valide(), qPrintable(name));
        ++compared;
        const auto same = [&](const char *key, const QString &value) {
            const QString expected = theirs.value(QLatin1String(key)).toString();
            if (value != expected)
                qWarning("%s: %s = « %s », mutagen « %s »", qPrintable(name), key,
                         qPrintable(value), qPrintable(expected));
            return value == expected;
        };
        QVERIFY(same("TIT2", ours->Titre()));
        QVERIFY(same("TPE1", ours->Artiste()));
        QVERIFY(same("TALB", ours->Album()));
        QVERIFY(same("TRCK", ours->Piste()));
        // Genres compared when mutagen gives a listed name ("80s" is read by number here).
        if (theirs.contains("TCON") &&
            tags::genreChoices().contains(theirs["TCON"].toString(), Qt::CaseInsensitive))
            QVERIFY(same("TCON", tags::genreName(ours->Genre())));
    }
    QVERIFY(compared > 5);
}

void TestInterop::corpusSaveKeepsAudio()
{
    const QStringList files = corpusFiles({"*.mp3"});
    if (files.isEmpty())
        QSKIP("corpus extérieur absent (TARVEX_CORPUS)");
    QTemporaryDir dir;
    int saved = 0;
    for (const QString &file : files) {
        const QString copy = dir.filePath(QFileInfo(file).fileName());
        QFile::remove(copy);
        QVERIFY(QFile::copy(file, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray before = readAll(copy);
        tags::TypeTagV2 t = *tags::readTagV2(copy);
        t.setValide(true);
        t.setTitre("Titre de test");
        const tags::Result<bool> written = tags::writeTagV2(copy, t);
        QVERIFY2(written.ok(), qPrintable(written.error()));
        const QByteArray after = readAll(copy);
        if (!*written) {
            QCOMPARE(after, before); // no frame sync: untouched
            continue;
        }
        ++saved;
        const qsizetype tagEnd = qsizetype(tags::id3v2DeclaredSize(after));
        const qsizetype kept = after.size() - tagEnd;
        const qsizetype from = before.size() - kept;
        // The audio is kept byte for byte, but for the byte count of a Xing or VBRI header,
        // which now holds the new file's length.
        QByteArray expected = before.mid(from);
        const QByteArray tail = after.mid(tagEnd);
        QCOMPARE(tail.size(), expected.size());
        const qsizetype diff =
            std::mismatch(tail.begin(), tail.end(), expected.begin()).first - tail.begin();
        if (diff < tail.size()) {
            const QByteArray length = bigEndian(quint32(after.size()), 4);
            const qsizetype field = tail.indexOf(length, std::max<qsizetype>(0, diff - 3));
            QVERIFY2(field >= 0 && field <= diff, qPrintable(file));
            expected.replace(field, 4, length);
        }
        QVERIFY2(tail == expected, qPrintable(file));
        QCOMPARE(tags::readTagV2(copy)->Titre(), QStringLiteral("Titre de test"));
        // Only bytes before the first real frame may have been dropped, never audio.
        const qsizetype audio = firstFrameHeader(before, tagsEnd(before));
        QVERIFY2(from >= tagsEnd(before), qPrintable(file));
        if (audio >= 0)
            QVERIFY2(
                from <= audio,
                qPrintable(
                    QStringLiteral("%1 : audio coupé (%2 > %3)").arg(file).arg(from).arg(audio)));
    }
    QVERIFY(saved > 5);
}

QTEST_GUILESS_MAIN(TestInterop)
#include "tst_interop.moc"
