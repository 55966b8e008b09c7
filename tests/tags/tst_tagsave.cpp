// A save changes only what the user changed: kept frames, conversions from other versions, the
// files it refuses, how it writes (in place, atomic rewrite), the tag controller over it, and
// saves of an outside corpus that agree with mutagen and keep the audio.
#include "base/saferewrite.h"
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/id3v2convert.h"
#include "tags/id3v2reader.h"
#include "tags/id3v2writer.h"
#include "tags/tagframes.h"
#include "tags/tagsave.h"
#include "tags/zelltagctrl.h"

#include "peers.h"
#include "tagtestutil.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace tagtest;
using namespace Qt::StringLiterals;

namespace {

QByteArray comm(const QByteArray &lang, const QByteArray &desc, const QByteArray &text)
{
    return frame(3, "COMM", latin(lang + desc + '\0' + text));
}

tags::Result<tags::SaveKind> saveV2(const QString &path, const tags::TypeTagV2 &t, bool v23 = false)
{
    return tags::saveTags(path, {std::nullopt, false, t, {}, {}, v23});
}

// An ID3v1 block titled "v1" with track 4, and the ID3v2 record with every field set.
tags::TagType bothTags()
{
    tags::TagType both;
    both.TagV1.setValide(true);
    both.TagV1.setTitre("v1");
    both.TagV1.setPiste(4);
    both.TagV2 = fullRecord();
    return both;
}

tags::TagChanges bothChanges()
{
    return {bothTags().TagV1, false, bothTags().TagV2, {}, {}, false};
}

// A frame as identifier=body, the body read as Latin-1 with each zero byte shown as "|".
QString shown(const QByteArray &id, const QByteArray &body)
{
    return QString::fromLatin1(id + '=' + body).replace(QChar(0), u'|');
}

// The frames of a file's tag, as shown gives them.
QStringList framesOf(const QByteArray &bytes)
{
    QStringList out;
    for (const tags::Id3v2Frame &f : tags::walkId3v2(bytes).frames)
        out.append(shown(f.id, f.body));
    return out;
}

// The PCM that mpg123 decodes from MPEG bytes.
QByteArray decoded(const QByteArray &mp3)
{
    QProcess mpg123;
    mpg123.start("mpg123", {"-q", "-s", "-"});
    mpg123.write(mp3);
    mpg123.closeWriteChannel();
    mpg123.waitForFinished(60000);
    return mpg123.readAllStandardOutput();
}

} // namespace

class TestTagSave : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("a.mp3");
    const tags::ZellTagCtrl m_ctrl;

private slots:
    // What a one-field edit does to the frames of a tag: only the edited frame changes, in place
    // in a version 2.3 tag with room; a version 2.2 tag, and a version 2.4 one under the option
    // for old players, becomes version 2.3, each frame converted.
    void edit_data()
    {
        QTest::addColumn<QByteArray>("tagBytes");
        QTest::addColumn<QString>("edit");      // field=value
        QTest::addColumn<QStringList>("after"); // the tag's frames, as framesOf gives them
        const auto row = [](const char *name, const QByteArray &frames, const char *edit,
                            const QStringList &after) {
            QTest::newRow(name) << tag(3, frames + QByteArray(200, '\0')) << QString(edit) << after;
        };
        const auto converted = [](const char *name, const QByteArray &tagBytes,
                                  const QStringList &after) {
            QTest::newRow(name) << tagBytes << QString("Titre=x") << QStringList{"TIT2=|x"} + after;
            // Without the option a version 2.4 tag stays version 2.4: see version24Kept.
        };
        row("comment keeps its language, other comments stay",
            comm("eng", "iTunNORM", " 0000") + comm("eng", "", "old") +
                comm("fra", "note", "autre"),
            "Commentaire=nouveau",
            {"COMM=|engiTunNORM| 0000", "COMM=|eng|nouveau", "COMM=|franote|autre"});
        // The field is the comment or URL without description; described ones stay as they are.
        row("url: a new frame, described ones stay",
            frame(3, "WXXX", latin("site\0http://a"_ba)) +
                frame(3, "WXXX", latin("autre\0http://b"_ba)),
            "Url=http://c", {"WXXX=||http://c", "WXXX=|site|http://a", "WXXX=|autre|http://b"});
        row("emptied url: the described one stays",
            frame(3, "WXXX", latin("shop\0http://a"_ba)) + frame(3, "WXXX", latin("\0http://b"_ba)),
            "Url=", {"WXXX=|shop|http://a"});
        row("new comment in the language of the other comments", comm("deu", "Notiz", "Hallo"),
            "Commentaire=neuf", {"COMM=|deu|neuf", "COMM=|deuNotiz|Hallo"});
        row("compressed comment replaced",
            frame(3, "COMM", qCompress(latin("eng\0zipp\xE9"_ba)), 0x0080), "Commentaire=neuf",
            {"COMM=|eng|neuf"});
        // Fields the edit leaves keep their frames, whatever the reader makes of them.
        row("free-text genre and line breaks of a comment kept by a title edit",
            frame(3, "TCON", latin(QString("Chanson française").toLatin1())) +
                comm("fra", "", "a\nb\tc"),
            "Titre=x", {"TIT2=|x", "TCON=|Chanson française", "COMM=|fra|a\nb\tc"});
        row("malformed identifier and a frame after zeros kept",
            frame(3, "Xyz1", "abc") + QByteArray(4, '\0') + frame(3, "TPE1", latin("A")), "Titre=x",
            {"TIT2=|x", "Xyz1=abc", "TPE1=|A"});
        row("duplicate title: the first is replaced",
            frame(3, "TIT2", latin("un")) + frame(3, "TIT2", latin("deux")), "Titre=x",
            {"TIT2=|x", "TIT2=|deux"});
        row("emptied field removes its frame",
            frame(3, "TALB", latin("B")) + frame(3, "TPE1", latin("A")), "Album=", {"TPE1=|A"});
        row("track and total kept as typed", frame(3, "TRCK", latin("1")), "Piste=7/12",
            {"TRCK=|7/12"});
        converted("date with day and time", tag(4, frame(4, "TDRC", latin("2003-05-12T10:20"))),
                  {"TYER=|2003", "TDAT=|1205", "TIME=|1020"});
        converted("original year, people",
                  tag(4, frame(4, "TDOR", latin("2001")) +
                             frame(4, "TIPL", latin("mix\0Yves\0prod\0Zo\xE9"_ba))),
                  {"TORY=|2001", "IPLS=|mix|Yves|prod|Zoé|"});
        converted("several values joined, utf-8 made utf-16",
                  tag(4, frame(4, "TPE1", "\3A\0Bé"_ba) + frame(4, "TCON", latin("Rock\0Pop"_ba))),
                  {shown("TPE1", "\1" + utf16le("A/Bé")), "TCON=|Rock/Pop"});
        converted(
            "frames of 2.4 only kept",
            tag(4, frame(4, "TSOP", latin("Sort"), 0x4000) + frame(4, "RVA2", "x\0\1\2\3"_ba)),
            {"TSOP=|Sort", "RVA2=x|\x01\x02\x03"});
        converted("compressed frame keeps its data",
                  tag(4, frame(4, "PRIV", "\0\0\0\5zzzzz"_ba, 0x0009)), {"PRIV=|||\x05zzzzz"});
        converted(
            "v2.2 sort and picture frames",
            tag(2, frame(2, "TSP", latin("Beatles, The")) + frame(2, "PIC", "\0JPG\3\0ab"_ba)),
            {"TSOP=|Beatles, The", "APIC=|image/jpeg|\x03|ab"});
    }
    void edit()
    {
        QFETCH(QByteArray, tagBytes);
        QFETCH(QString, edit);
        const QByteArray before = tagBytes + mpegFrames(6);
        QVERIFY(writeFile(m_path, before));
        // In place: another name of the file sees the change.
        const bool inPlace = tagBytes[3] == '\3';
        const QString other = m_dir.filePath("autre nom.mp3");
        const auto unlinkOther = qScopeGuard([&] { QFile::remove(other); });
        QVERIFY(!inPlace || ::link(QFile::encodeName(m_path).constData(),
                                   QFile::encodeName(other).constData()) == 0);
        tags::TypeTagV2 t = tags::readTagV2(m_path).value();
        // Saving what the tag holds writes nothing, even under the option: the tag keeps its
        // version.
        QCOMPARE(saveV2(m_path, t, true).value(), tags::SaveKind::Unchanged);
        QCOMPARE(readFile(m_path), before);
        setField(t, edit.section('=', 0, 0), edit.section('=', 1));
        const tags::Result<tags::SaveKind> result = saveV2(m_path, t, true);
        QVERIFY2(result.ok(), qPrintable(result.error()));
        const QByteArray after = readFile(m_path);
        QCOMPARE(after[3], '\3');
        QTEST(framesOf(after), "after");
        QVERIFY(after.endsWith(mpegFrames(6)));
        if (inPlace) {
            QCOMPARE(*result, tags::SaveKind::InPlace);
            QCOMPARE(readFile(other), after);
            QCOMPARE(after.size(), before.size());
        }
        // The same edit again writes nothing.
        t = tags::readTagV2(m_path).value();
        setField(t, edit.section('=', 0, 0), edit.section('=', 1));
        QCOMPARE(saveV2(m_path, t).value(), tags::SaveKind::Unchanged);
    }

    // An edit of a version 2.4 tag keeps it version 2.4: the other frames stay byte for byte,
    // however they are stored; the edited frame is written as version 2.4 writes it.
    void version24Kept_data()
    {
        QTest::addColumn<QByteArray>("kept");    // frames before and after the edited one
        QTest::addColumn<QByteArray>("written"); // the same frames as written back
        QTest::addColumn<QString>("edit");       // field=value
        QTest::addColumn<QByteArray>("before");  // the frame edited, or empty when it is new
        QTest::addColumn<QByteArray>("after");   // the frame written
        // Unsynchronised with a data length, compressed, a size not synchsafe, status flags,
        // several values. Each is kept byte for byte, but for the plain size, written synchsafe:
        // beside other frames a plain size may read as another one.
        const auto frames = [](const QByteArray &txxxSize) {
            return frame(4, "TPE1", bigEndian(3) + QByteArray("\0\xFF\0\xE9", 4), 0x0003) +
                   frame(4, "PRIV", "\0\0\0\5zzzzz"_ba, 0x0009) + "TXXX" + txxxSize + "\0\0"_ba +
                   latin(QByteArray(199, 'a')) + frame(4, "TSOP", latin("Sort"), 0x4000) +
                   frame(4, "TPE2", "\3A\0B"_ba);
        };
        const QByteArray stored = frames(bigEndian(200));
        const QByteArray rewritten = frames("\0\0\1\x48"_ba);
        QTest::newRow("title in latin-1, stored frames kept")
            << stored << rewritten << "Titre=Été" << frame(4, "TIT2", "\3Ancien"_ba)
            << frame(4, "TIT2", latin("\xC9t\xE9"));
        QTest::newRow("utf-8 text")
            << stored << rewritten << "Titre=日本" << frame(4, "TIT2", latin("x"))
            << frame(4, "TIT2", "\3" + QString("日本").toUtf8());
        QTest::newRow("new year is a recording time")
            << stored << rewritten << "Annee=1999" << QByteArray()
            << frame(4, "TDRC", latin("1999"));
        QTest::newRow("comment in utf-8 keeps its language")
            << stored << rewritten << "Commentaire=€ 5" << frame(4, "COMM", latin("deu\0alt"_ba))
            << frame(4, "COMM", "\3deu\0"_ba + QString("€ 5").toUtf8());
    }
    void version24Kept()
    {
        QFETCH(QByteArray, kept);
        QFETCH(QByteArray, written);
        QFETCH(QString, edit);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray padding(300, '\0');
        QVERIFY(writeFile(m_path, tag(4, kept + before + kept + padding) + mpegFrames(4)));
        tags::TypeTagV2 t = tags::readTagV2(m_path).value();
        setField(t, edit.section('=', 0, 0), edit.section('=', 1));
        QCOMPARE(saveV2(m_path, t).value(), tags::SaveKind::InPlace);
        // A new frame comes first; padding keeps the tag's size.
        const QByteArray frames =
            before.isEmpty() ? after + written + written : written + after + written;
        QCOMPARE(readFile(m_path),
                 tag(4, frames + QByteArray(padding.size() + before.size() - after.size(), '\0')) +
                     mpegFrames(4));
        QCOMPARE(saveV2(m_path, t).value(), tags::SaveKind::Unchanged);
    }

    // Files that are not MPEG audio, and tags that cannot be rewritten whole, are left alone.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        const QString notMp3 = u"n'est pas un fichier MP3 : rien n'a été écrit"_s;
        QTest::newRow("wav") << "RIFF" + QByteArray(4, '\x10') + "WAVEfmt " + mpegFrames(3)
                             << notMp3;
        QTest::newRow("flac after a tag")
            << tag(3, frame(3, "TIT2", latin("t"))) + "fLaC" + mpegFrames(3) << notMp3;
        QTest::newRow("ogg") << "OggS" + mpegFrames(3) << notMp3;
        QTest::newRow("mp4") << QByteArray(4, '\0') + "ftypM4A " + mpegFrames(3) << notMp3;
        QTest::newRow("zeros") << QByteArray(5000, '\0') << notMp3;
        QTest::newRow("one lone header")
            << QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(2000, 'x') << notMp3;
        QTest::newRow("junk after the frames")
            << tag(3, frame(3, "TIT2", latin("t")) + "\x01\x02junk" + QByteArray(20, '\xEE')) +
                   mpegFrames(3)
            << u"octets illisibles"_s;
        QTest::newRow("frame running past the tag")
            << tag(3, frame(3, "TIT2", latin("t")) + "TPE1\0\0\1\0\0\0ab"_ba) + mpegFrames(3)
            << u"octets illisibles"_s;
        QTest::newRow("v2.2 frame without a v2.3 equivalent")
            << tag(2, frame(2, "TT2", latin("t")) + frame(2, "XYZ", "data")) + mpegFrames(3)
            << u"ne peut pas garder (XYZ)"_s;
        // A tag of tiny frames is read up to a bound, and never rewritten without its tail.
        QByteArray tiny;
        for (int i = 0; i <= tags::MaxFrames; ++i)
            tiny += frame(3, "TXXX", QByteArray("\0a\0", 3));
        QTest::newRow("100,001 frames") << tag(3, tiny) + mpegFrames(2) << u"trames"_s;
    }
    void refused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QVERIFY(writeFile(m_path, content));
        const tags::Result<tags::SaveKind> result = tags::saveTags(m_path, bothChanges());
        QVERIFY(!result.ok());
        QVERIFY2(result.error().contains(reason), qPrintable(result.error()));
        QCOMPARE(readFile(m_path), content);
    }

    // A tag that outgrows its space is rewritten whole; the file keeps its owner, mode and
    // extended attributes, and a file with other names is refused rather than split from them.
    void rewrite()
    {
        const QByteArray v1 = "TAG" + QByteArray(125, '\0');
        QVERIFY(writeFile(m_path, tag(3, frame(3, "TIT2", latin("t"))) + mpegFrames(5) + v1));
        QVERIFY(
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        const QByteArray path = QFile::encodeName(m_path);
        const bool attributes = setxattr(path.constData(), "user.tarvex", "1", 1, 0) == 0;
        // As root, the file belongs to someone else: the new file must get that owner back.
        const bool root = geteuid() == 0;
        QVERIFY(!root || chown(path.constData(), 65534, 65534) == 0);
        // A temporary file that a killed save left behind.
        const QString leftover = m_dir.filePath(".a.mp3.tarvex-abc");
        QVERIFY(writeFile(leftover, "x"));
        const tags::TagChanges changes = bothChanges();
        const QString link = m_dir.filePath("lien.mp3");
        QVERIFY(::link(path.constData(), QFile::encodeName(link).constData()) == 0);
        const QByteArray before = readFile(m_path);
        const tags::Result<tags::SaveKind> linked = tags::saveTags(m_path, changes);
        QVERIFY(!linked.ok() && linked.error().contains("liens physiques"));
        QCOMPARE(readFile(m_path), before);
        QVERIFY(QFile::remove(link));

        QCOMPARE(tags::saveTags(m_path, changes).value(), tags::SaveKind::Rewritten);
        const QByteArray after = readFile(m_path);
        QCOMPARE(tags::readTagV2(m_path)->Titre(), fullRecord().Titre());
        QCOMPARE(after.right(128).mid(3, 2), QByteArray("v1"));
        QCOMPARE(qint64(after.size()), tags::id3v2DeclaredSize(after) + mpegFrames(5).size() + 128);
        struct stat info;
        QVERIFY(stat(path.constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0604));
        if (root)
            QCOMPARE(info.st_uid, uid_t(65534));
        QVERIFY(!QFile::exists(leftover));
        if (!attributes)
            QSKIP("attributs étendus non pris en charge ici : leur conservation non vérifiée");
        char value[4] = {};
        QCOMPARE(getxattr(path.constData(), "user.tarvex", value, sizeof value), ssize_t(1));
    }

    // What another program writes during a save wins over the save.
    void changedMeanwhile()
    {
        QVERIFY(writeFile(m_path, mpegFrames(5)));
        const int fd = open(QFile::encodeName(m_path).constData(), O_RDONLY);
        struct stat before;
        QVERIFY(fd >= 0 && fstat(fd, &before) == 0);
        QFile appended(m_path);
        QVERIFY(appended.open(QIODevice::Append) && appended.write("more") == 4);
        appended.close();
        base::Rewrite rewrite;
        rewrite.head = "ID3";
        rewrite.keepTo = before.st_size;
        const QString error = base::rewriteFile(m_path, fd, before, rewrite);
        ::close(fd);
        QVERIFY2(error.contains("modifié par un autre programme"), qPrintable(error));
        QCOMPARE(readFile(m_path), mpegFrames(5) + "more");
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.mp3"});
    }

    // A picture replaces the first one and keeps the others; it must be a JPEG.
    void picture()
    {
        const QByteArray back = frame(3, "APIC", "\0image/png\0\4dos\0PNG"_ba),
                         front = frame(3, "APIC", "\0image/jpeg\0\3\0OLD"_ba);
        QVERIFY(writeFile(m_path, tag(3, back + front + QByteArray(2000, '\0')) + mpegFrames(6)));
        const QString jpeg = m_dir.filePath("c.jpg"), fake = m_dir.filePath("f.jpg");
        QVERIFY(writeFile(jpeg, jpegBytes()) && writeFile(fake, "GIF89a"));
        tags::TypeTagV2 t = tags::readTagV2(m_path).value();
        t.SetPicFromFile(fake);
        const QByteArray before = readFile(m_path);
        QVERIFY(saveV2(m_path, t).error().contains("n'est pas une image JPEG"));
        QCOMPARE(readFile(m_path), before);
        t.SetPicFromFile(jpeg);
        QVERIFY(saveV2(m_path, t).ok());
        QCOMPARE(framesOf(readFile(m_path)),
                 (QStringList{shown("APIC", "\0image/jpeg\0\3\0"_ba + jpegBytes()),
                              "APIC=|image/jpeg|\x03|OLD"}));
    }

    // The tag controller, on a file given both tags through it; its copy modes are tested
    // through `tarvex-cli copy`.
    void controllerGetOneTag_data()
    {
        QTest::addColumn<int>("info");
        QTest::addColumn<int>("version");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("v1 track is a number") << 3 << 0 << QVariant::fromValue(qint16(4));
        QTest::newRow("v2 track is a text") << 3 << 1 << QVariant(QStringLiteral("4/11"));
        QTest::newRow("any other version") << 10 << 5 << QVariant(QStringLiteral("Ravel"));
        QTest::newRow("version 2 for a common field is empty") << 1 << 2 << QVariant();
        QTest::newRow("code 13 is empty") << 13 << 0 << QVariant();
    }
    void controllerGetOneTag()
    {
        QFETCH(int, info);
        QFETCH(int, version);
        QFETCH(QVariant, expected);
        QVERIFY(writeFile(m_path, mpegFrames(3)));
        QVERIFY(saved(m_ctrl.SetAllTags(m_path, bothTags())));
        const tags::Result<QVariant> value = m_ctrl.GetOneTag(info, m_path, version);
        QVERIFY(value.ok());
        QCOMPARE(value->metaType(), expected.metaType());
        QCOMPARE(*value, expected);
    }

    void controllerAllTags()
    {
        tags::TagType both = bothTags();
        QVERIFY(writeFile(m_path, mpegFrames(3)));
        QVERIFY(saved(m_ctrl.SetAllTags(m_path, both)));
        const tags::TagType back = m_ctrl.GetAllTags(m_path).value();
        QCOMPARE(back.TagV1, both.TagV1);
        QCOMPARE(back.TagV2, both.TagV2);
        // Both tags change together or not at all: a track the ID3v1 block cannot hold stops the
        // ID3v2 change too.
        const QByteArray before = readFile(m_path);
        both.TagV1.setPiste(300);
        both.TagV2.setTitre("Nouveau");
        QVERIFY(!m_ctrl.SetAllTagsOld(m_path, both).ok());
        QCOMPARE(readFile(m_path), before);
        // Clearing the ID3v1 tag writes nothing; clearing all removes the ID3v2 tag alone.
        QVERIFY(m_ctrl.ClearTagV1(m_path));
        QVERIFY(saved(m_ctrl.ClearAllTags(m_path)));
        const QByteArray v1Only = mpegFrames(3) + tags::renderId3v1(back.TagV1).value();
        QCOMPARE(readFile(m_path), v1Only);
        // Failures to read or write a file are said.
        both = bothTags();
        const QString missing = m_dir.filePath("absent.mp3");
        const tags::Result<tags::TagType> all = m_ctrl.GetAllTags(missing);
        QVERIFY2(!all.ok() && all.error().contains("absent.mp3"), qPrintable(all.error()));
        QVERIFY(!m_ctrl.SetTagV2(missing, both.TagV2).ok());
        QVERIFY(!m_ctrl.SetTagV1(missing, both.TagV1));
        // A picture file that cannot be read stops the write; the file is untouched.
        const QString jpeg = m_dir.filePath("p.jpg");
        QVERIFY(writeFile(jpeg, "jpeg"));
        both.TagV2.SetPicFromFile(jpeg);
        QVERIFY(QFile::remove(jpeg));
        const tags::Result<bool> written = m_ctrl.SetTagV2(m_path, both.TagV2);
        QVERIFY2(!written.ok() && written.error().contains("image"), qPrintable(written.error()));
        QCOMPARE(readFile(m_path), v1Only);
    }

    void controllerWinampForm()
    {
        struct Editor : tags::TagEditor
        {
            QStringList opened;
            void showTagsOfFile(const QString &f) override { opened.append(f); }
        } editor;
        for (const char *file : {"/x/a.mp3", "/x/CHANSON.MP3", "/x/son.wav", "/x/mp3"})
            m_ctrl.WinampForm(file, editor);
        QCOMPARE(editor.opened, (QStringList{"/x/a.mp3", "/x/CHANSON.MP3", "/x/mp3"}));
    }

    // Agreement with mutagen on the outside corpus: what each reads, and saves that keep the
    // audio.
    void corpus()
    {
        if (richtag({"fields"}) != "[]\n")
            TARVEX_PEER_MISSING("mutagen (python3-mutagen) n'est pas installé");
        const QString root = qEnvironmentVariable("TARVEX_CORPUS");
        QStringList files;
        for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
             !root.isEmpty() && it.hasNext();)
            files.append(it.next());
        if (files.isEmpty())
            TARVEX_PEER_MISSING("corpus extérieur absent (TARVEX_CORPUS)");
        const QJsonArray peer =
            QJsonDocument::fromJson(richtag(QStringList{"fields"} + files)).array();
        QCOMPARE(peer.size(), files.size());
        const QJsonArray peerFrames =
            QJsonDocument::fromJson(richtag(QStringList{"ids"} + files)).array();
        QCOMPARE(peerFrames.size(), files.size());
        QTemporaryDir dir;
        int compared = 0, saved = 0;
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString name = QFileInfo(files[i]).fileName();
            const QByteArray before = readFile(files[i]);
            const tags::Result<tags::TypeTagV2> read = tags::readTagV2(files[i]);
            QVERIFY2(read.ok(), qPrintable(name));
            tags::TypeTagV2 ours = *read;
            const QJsonObject theirs = peer.at(i).toObject();
            if (!theirs.contains("erreur")) {
                QVERIFY2(ours.Valide(), qPrintable(name));
                ++compared;
                // Genres are compared when mutagen gives a listed name ("80s" is read by number).
                const QString genre = theirs["TCON"].toString();
                const bool listed = tags::genreChoices().contains(genre, Qt::CaseInsensitive);
                const QStringList mine{ours.Titre(), ours.Artiste(), ours.Album(), ours.Piste(),
                                       listed ? tags::genreName(ours.Genre()) : genre};
                const QStringList peers{theirs["TIT2"].toString(), theirs["TPE1"].toString(),
                                        theirs["TALB"].toString(), theirs["TRCK"].toString(),
                                        genre};
                QVERIFY2(mine == peers,
                         qPrintable(name + ": " + mine.join('|') + " / " + peers.join('|')));
                // Every frame mutagen reads is listed (it drops some that are empty or broken).
                QStringList ids;
                const QList<tags::TagFrame> frames = tags::readFrames(files[i]).value();
                for (const tags::TagFrame &frame : frames)
                    ids.append(QString::fromLatin1(frame.id));
                for (const QJsonValue &id : peerFrames[i]["ids"].toArray())
                    QVERIFY2(ids.removeOne(id.toString()), qPrintable(name + ": " + id.toString()));
            }
            if (!name.endsWith(".mp3"))
                continue;
            // Saving into a copy keeps the audio byte for byte, the byte count of a Xing or VBRI
            // header included: it counts the audio from its frame on.
            const QString copy = dir.filePath(QString::number(i) + name);
            QVERIFY(writeFile(copy, before));
            ours.setValide(true);
            ours.setTitre("Titre de test");
            const tags::Result<bool> written = tags::writeTagV2(copy, ours);
            const QByteArray after = readFile(copy);
            if (!written.ok()) {
                // Refused (not MPEG audio, or a tag it could not walk to its end): untouched.
                QVERIFY2(written.error().contains("rien n'a été écrit"),
                         qPrintable(written.error()));
                QCOMPARE(after, before);
                continue;
            }
            ++saved;
            QCOMPARE(tags::readTagV2(copy)->Titre(), QStringLiteral("Titre de test"));
            const QByteArray tail = after.mid(qsizetype(tags::id3v2DeclaredSize(after)));
            QVERIFY2(tail == before.right(tail.size()), qPrintable(name));
            // What went with the old tag holds no audio: mpg123 decodes the same samples.
            QVERIFY2(decoded(before) == decoded(tail), qPrintable(name));
        }
        QVERIFY(compared > 5 && saved > 5);
        const tags::TypeTagV1 known = tags::readTagV1(root + "/mutagen/silence-44-s-v1.mp3");
        QCOMPARE((QStringList{known.Titre(), known.Artiste()}), (QStringList{"Silence", "piman"}));
        QCOMPARE((QList<int>{known.Piste(), known.Genre()}), (QList<int>{2, 50}));
    }
};

QTEST_GUILESS_MAIN(TestTagSave)
#include "tst_tagsave.moc"
