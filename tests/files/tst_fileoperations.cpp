// Copy, move and delete of checked files, undo on real files (tag saves come back byte for byte;
// renames into new folders and back without replacing), and the real player.
#include "base/safefs.h"
#include "files/fileoperations.h"
#include "files/folderlisting.h"
#include "files/mediaplayer.h"
#include "files/trash.h"
#include "files/undojournal.h"
#include "rename/renamebatch.h"
#include "tags/tagbatch.h"

#include "mpegstream.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using base::joinPath;
using namespace mpegstream;

namespace {

void put(const QString &path, const QByteArray &content)
{
    QVERIFY2(writeFile(path, content), qPrintable(path));
}

// "name=content" of each file of the folder, by name, joined with "|".
QString state(const QString &folder)
{
    QStringList out;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QByteArray content = readFile(joinPath(folder, name));
        out.append(
            name + "=" +
            (content.size() > 99 ? QByteArray::number(content.size()) + " octets" : content));
    }
    return out.join(u'|');
}

// The file names in a trash's "files" folder and the ".trashinfo" names of its "info" folder.
QString trashState(const QString &trash)
{
    return state(trash + "/files") + " / " +
           QDir(trash + "/info").entryList(QDir::Files, QDir::Name).join(u'|');
}

QString failures(const files::OperationReport &report)
{
    QStringList out;
    for (const files::FileFailure &f : report.failures)
        out.append(f.fichier + ": " + f.raison);
    return out.join(u'|');
}

} // namespace

class TestFileOperations : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_source;
    QString m_target;

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_source = m_root->filePath("source");
        m_target = m_root->filePath("cible");
        QVERIFY(QDir().mkpath(m_source) && QDir().mkpath(m_target));
        put(joinPath(m_source, "a.mp3"), "a");
        put(joinPath(m_source, "b.mp3"), "b");
        // Files deleted go to a trash of the test's own, on the file system of its files.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root->filePath("données")));
    }

    // Each failing file is named with its reason and the others are still handled. Copying onto
    // the same folder, replacing a target and moving without replacing are checked through the
    // window's commands.
    void failuresAreNamed()
    {
        // A read-only file is refused even when the administrator copies.
        const QString readOnly = joinPath(m_target, "a.mp3");
        put(readOnly, "ancien");
        QVERIFY(QFile::setPermissions(readOnly,
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        // A file listed from a folder below goes into the target itself.
        QVERIFY(QDir(m_source).mkdir("CD 2"));
        put(joinPath(m_source, "CD 2/c.mp3"), "c");
        files::OperationReport report = files::copyFiles(
            m_source, {"x.mp3", "../source/b.mp3", "a.mp3", "b.mp3", "CD 2/c.mp3"}, m_target);
        QCOMPARE(failures(report),
                 "x.mp3: fichier introuvable|../source/b.mp3: nom de fichier interdit|"
                 "a.mp3: fichier en lecture seule dans le dossier de destination");
        QCOMPARE(state(m_target), "a.mp3=ancien|b.mp3=b|c.mp3=c");
        struct stat kept;
        QVERIFY(::stat(QFile::encodeName(readOnly).constData(), &kept) == 0);
        QCOMPARE(kept.st_mode & 0777, 0444u);
        report = files::deleteFiles(m_source + "/", {"a.mp3", "x.mp3"});
        QCOMPARE(failures(report), "x.mp3: fichier introuvable");
        QCOMPARE(state(m_source), "b.mp3=b");
    }

    void otherFileSystems()
    {
        // A tmpfs of its own, so that a move crosses file systems.
        if (::geteuid() != 0)
            QSKIP("needs root to mount a tmpfs");
        const QString other = m_root->filePath("tmpfs");
        QVERIFY(QDir().mkpath(other) &&
                ::mount("tmpfs", QFile::encodeName(other), "tmpfs", 0, "size=64k") == 0);
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(other), MNT_DETACH); });
        put(joinPath(other, "a.mp3"), "ancien");
        put(joinPath(m_source, "big"), QByteArray(256 * 1024, 'x'));
        // A move unasked keeps the file in place; a copy that does not fit is removed and its
        // source stays.
        files::OperationReport report =
            files::moveFiles(m_source, {"a.mp3", "big", "b.mp3"}, other);
        QCOMPARE(report.skipped, 1);
        QCOMPARE(failures(report), "big: plus de place sur le disque");
        QCOMPARE(state(m_source), "a.mp3=a|big=262144 octets");
        QCOMPARE(state(other), "a.mp3=ancien|b.mp3=b");
        const QByteArray mountPoint = QFile::encodeName(other);
        QVERIFY(::mount(nullptr, mountPoint, nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        report = files::copyFiles(m_source, {"a.mp3"}, other,
                                  [](const QString &) { return files::Clash::Replace; });
        QCOMPARE(failures(report), "a.mp3: support en lecture seule");
        // A file of another mount goes to the trash at the top of that mount; when none can be
        // made there, the file stays and the user is told.
        const QString topTrash = other + "/.Trash-" + QString::number(::getuid());
        report = files::deleteFiles(other, {"b.mp3"});
        QCOMPARE(failures(report), "b.mp3: ce disque n'a pas de corbeille utilisable (« " +
                                       topTrash +
                                       " » : support en lecture seule) ; le fichier n'a pas été "
                                       "supprimé");
        QVERIFY(::mount(nullptr, mountPoint, nullptr, MS_REMOUNT, nullptr) == 0);
        report = files::deleteFiles(other, {"b.mp3"});
        QCOMPARE(report.done, 1);
        QCOMPARE(state(other), "a.mp3=ancien");
        QCOMPARE(trashState(topTrash), "b.mp3=b / b.mp3.trashinfo");
        QVERIFY(readFile(topTrash + "/info/b.mp3.trashinfo").contains("\nPath=b.mp3\n"));
    }

    void copyThroughSymbolicLink()
    {
        // A link in the target folder is written through once the user says so, the file it
        // led to going to the trash; one that leads back to the original is the original itself.
        const QString elsewhere = m_root->filePath("ailleurs.mp3");
        put(elsewhere, "ancien");
        QVERIFY(QFile::link(elsewhere, joinPath(m_target, "a.mp3")));
        QVERIFY(QFile::link(joinPath(m_source, "b.mp3"), joinPath(m_target, "b.mp3")));
        QStringList asked;
        const files::OperationReport report =
            files::copyFiles(m_source, {"a.mp3", "b.mp3"}, m_target, [&](const QString &path) {
                asked << path;
                return files::Clash::Replace;
            });
        QCOMPARE(asked, QStringList{elsewhere});
        QCOMPARE(report.done, 1);
        QCOMPARE(failures(report), "b.mp3: la destination est le fichier lui-même");
        QVERIFY(QFileInfo(joinPath(m_target, "a.mp3")).isSymLink());
        QCOMPARE(readFile(elsewhere), QByteArray("a"));
        QCOMPARE(trashState(files::homeTrash()).section(" / ", 0, 0), "ailleurs.mp3=ancien");
        QCOMPARE(state(m_source), QStringLiteral("a.mp3=a|b.mp3=b"));
    }

    // Each answer to a clash, for a copy and for a move of a.mp3, b.mp3 and c.mp3 into a folder
    // that holds an older a.mp3 and b.mp3: a replaced file goes to the trash first, and undoing
    // the command brings both folders and the trash back as they were.
    void clashes_data()
    {
        QTest::addColumn<bool>("move");
        QTest::addColumn<QList<files::Clash>>("answers");
        QTest::addColumn<QString>("sourceAfter");
        QTest::addColumn<QString>("targetAfter");
        QTest::addColumn<QString>("trashed");
        using files::Clash;
        const QString all = "a.mp3=a|b.mp3=b|c.mp3=c";
        QTest::newRow("copy: Remplacer, Ignorer")
            << false << QList<Clash>{Clash::Replace, Clash::Skip} << all
            << "a.mp3=a|b.mp3=vieux b|c.mp3=c"
            << "a.mp3=vieux a / a.mp3.trashinfo";
        QTest::newRow("move: Tout remplacer")
            << true << QList<Clash>{Clash::ReplaceAll} << "" << all
            << "a.mp3=vieux a|b.mp3=vieux b / a.mp3.trashinfo|b.mp3.trashinfo";
        QTest::newRow("move: Ignorer, then Annuler")
            << true << QList<Clash>{Clash::Skip, Clash::Cancel} << all
            << "a.mp3=vieux a|b.mp3=vieux b"
            << " / ";
    }
    void clashes()
    {
        QFETCH(bool, move);
        QFETCH(QList<files::Clash>, answers);
        put(joinPath(m_source, "c.mp3"), "c");
        put(joinPath(m_target, "a.mp3"), "vieux a");
        put(joinPath(m_target, "b.mp3"), "vieux b");
        const QString sourceBefore = state(m_source), targetBefore = state(m_target);
        const QString trash = files::homeTrash();
        QStringList asked;
        const auto ask = [&](const QString &existing) {
            asked << QFileInfo(existing).fileName();
            return answers.value(asked.size() - 1, files::Clash::Skip);
        };
        const QStringList names{"a.mp3", "b.mp3", "c.mp3"};
        const files::OperationReport report =
            move ? files::moveFiles(m_source, names, m_target, ask)
                 : files::copyFiles(m_source, names, m_target, ask);
        QCOMPARE(asked.size(), answers.size());
        QCOMPARE(report.cancelled, answers.last() == files::Clash::Cancel);
        QVERIFY(report.failures.isEmpty());
        QTEST(state(m_source), "sourceAfter");
        QTEST(state(m_target), "targetAfter");
        QTEST(QFileInfo::exists(trash) ? trashState(trash) : QString(" / "), "trashed");

        files::UndoJournal journal;
        journal.recordSteps("Copie", report.steps);
        const files::UndoReport undone = journal.undo();
        QVERIFY2(undone.failures.isEmpty(), qPrintable(undone.message()));
        QCOMPARE(state(m_source), sourceBefore);
        QCOMPARE(state(m_target), targetBefore);
        QVERIFY(!QFileInfo::exists(trash) || trashState(trash) == " / ");
    }

    // The desktop's trash: "$XDG_DATA_HOME/Trash", made with its folders when missing, even
    // when the data folder itself is missing, and nothing written under the working folder;
    // "~/.local/share/Trash" when the variable is unset or not absolute. A second file of the
    // same name takes another name; undoing takes both back out.
    void trashFollowsTheDesktop_data()
    {
        QTest::addColumn<QString>("dataHome"); // "-": unset
        QTest::addColumn<QString>("trash");    // relative to the test's root, "~" the home
        QTest::newRow("data folder missing") << "absent/data"
                                             << "absent/data/Trash";
        QTest::newRow("unset") << "-"
                               << "~/.local/share/Trash";
        QTest::newRow("relative: ignored") << "relatif"
                                           << "~/.local/share/Trash";
    }
    void trashFollowsTheDesktop()
    {
        QFETCH(QString, dataHome);
        QFETCH(QString, trash);
        const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
        const QString working = QDir::currentPath();
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            qputenv("XDG_DATA_HOME", data);
            QDir::setCurrent(working);
        });
        const QString cwd = m_root->filePath("travail");
        QVERIFY(QDir().mkpath(cwd) && QDir::setCurrent(cwd));
        qputenv("HOME", QFile::encodeName(m_root->filePath("maison")));
        if (dataHome == "-")
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv(
                "XDG_DATA_HOME",
                QFile::encodeName(dataHome == "relatif" ? dataHome : m_root->filePath(dataHome)));
        trash = trash.startsWith('~') ? m_root->filePath("maison") + trash.mid(1)
                                      : m_root->filePath(trash);
        QCOMPARE(files::homeTrash(), trash);

        const QString name = "Été n°1.mp3";
        const QString original = joinPath(m_source, name);
        put(original, "premier");
        files::OperationReport report = files::deleteFiles(m_source, {name});
        put(original, "second");
        report.steps += files::deleteFiles(m_source, {name}).steps;
        QCOMPARE(report.steps.size(), 2);
        QCOMPARE(state(m_source), "a.mp3=a|b.mp3=b");
        QCOMPARE(trashState(trash), "Été n°1.2.mp3=second|Été n°1.mp3=premier / "
                                    "Été n°1.2.mp3.trashinfo|Été n°1.mp3.trashinfo");
        for (const QString &folder : {trash, trash + "/files", trash + "/info"}) {
            struct stat st;
            QVERIFY(::stat(QFile::encodeName(folder).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, 0700u);
        }
        const QString info = QString::fromUtf8(readFile(trash + "/info/Été n°1.mp3.trashinfo"));
        static const QRegularExpression form(
            R"(^\[Trash Info\]\nPath=(.*)\nDeletionDate=(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)\n$)");
        const QRegularExpressionMatch match = form.match(info);
        QVERIFY2(match.hasMatch(), qPrintable(info));
        QCOMPARE(match.captured(1),
                 QDir(m_source).canonicalPath() + "/%C3%89t%C3%A9%20n%C2%B01.mp3");
        QVERIFY(qAbs(QDateTime::fromString(match.captured(2), Qt::ISODate)
                         .secsTo(QDateTime::currentDateTime())) < 60);
        QCOMPARE(QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());

        // Each deletion is undone on its own, and never over a file that took the name since.
        files::UndoJournal journal;
        journal.recordSteps("Mise à la corbeille", report.steps.mid(0, 1));
        journal.recordSteps("Mise à la corbeille", report.steps.mid(1));
        files::UndoReport undone = journal.undo();
        QVERIFY2(undone.failures.isEmpty(), qPrintable(undone.message()));
        QCOMPARE(state(m_source), "a.mp3=a|b.mp3=b|Été n°1.mp3=second");
        QCOMPARE(trashState(trash), "Été n°1.mp3=premier / Été n°1.mp3.trashinfo");
        undone = journal.undo();
        QCOMPARE(undone.message(), "Ces fichiers n'ont pas été restaurés :\n« " + trash +
                                       "/files/Été n°1.mp3 » : un fichier de ce nom existe déjà");
        QCOMPARE(trashState(trash), "Été n°1.mp3=premier / Été n°1.mp3.trashinfo");
    }

    void tagSaveUndone_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QString>("titre");
        QTest::addColumn<bool>("both"); // both versions written: an ID3v1 block added
        const FrameHeader h;
        const QByteArray audio = frames(h, 30);
        const QByteArray padded = id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Ancien")}, 200);
        QTest::newRow("in place") << padded + audio << "Nouveau" << false;
        QTest::newRow("tag grows: rewritten") << padded + audio << QString(500, 'x') << false;
        QTest::newRow("ID3v1 block added") << padded + audio << "Nouveau" << true;
        QTest::newRow("Xing byte count and junk before the audio")
            << id3v2Tag(4, {id3v2TextFrame(4, "TIT2", "v2.4")}) + QByteArray(7, '\x55') +
                   xingFrame(h, {"Xing", 31, quint32(audio.size())}) + audio
            << "Nouveau" << false;
    }
    void tagSaveUndone()
    {
        QFETCH(QByteArray, original);
        QFETCH(QString, titre);
        QFETCH(bool, both);
        const QString path = m_root->filePath("tag.mp3");
        QVERIFY(writeFile(path, original));
        const QDateTime modified = QDateTime::currentDateTime().addDays(-3);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
        file.close();

        tags::FieldEdit edit;
        edit.titre = titre;
        edit.v1 = edit.v2 = both;
        std::optional<tags::TagBackup> backup;
        QVERIFY(tags::saveFields(path, edit, {}, &backup).ok());
        QVERIFY(backup && readFile(path) != original);
        files::UndoJournal journal;
        journal.recordTagSaves("Enregistrement", {*backup});
        const files::UndoReport report = journal.undo();
        QVERIFY2(report.failures.isEmpty(), qPrintable(report.message()));
        QCOMPARE(readFile(path), original);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
    }

    void renamesIntoFoldersUndone()
    {
        const QDir dir(m_source);
        put(dir.filePath("c.mp3"), "c");
        QVERIFY(QFile::link("/tmp", dir.filePath("lien")));
        const renaming::RenameOutcome outcome =
            renaming::renameFiles(dir.path(),
                                  {{"a.mp3", "Brel/a.mp3"},
                                   {"b.mp3", "Brel/Best/b.mp3"},
                                   {"gone.mp3", "Neuf/gone.mp3"}, // its new folder goes again
                                   {"c.mp3", "Brel/a.mp3"},       // taken: never replaced
                                   {"c.mp3", "lien/c.mp3"},       // a link is no folder
                                   {"c.mp3", "../c.mp3"}},
                                  true);
        QCOMPARE(outcome.refused.size(), 4);
        QCOMPARE(outcome.createdFolders,
                 (QStringList{dir.filePath("Brel"), dir.filePath("Brel/Best")}));
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"Brel", "c.mp3", "lien"}));
        QCOMPARE(renaming::renameFiles(dir.path(), {{"c.mp3", "Brel/c.mp3"}}).renamed, 0);

        QList<files::MovedFile> moves;
        for (const renaming::RenameRow &row : outcome.done)
            moves.append({dir.filePath(row.fichier), dir.filePath(row.nouveau)});
        files::UndoJournal journal;
        journal.recordMoves("Renommage", moves, outcome.createdFolders);
        put(dir.filePath("a.mp3"), "another a");
        const files::UndoReport report = journal.undo();
        QCOMPARE(report.failures.size(), 1);
        QCOMPARE(report.failures[0].fichier, dir.filePath("Brel/a.mp3"));
        QCOMPARE(readFile(dir.filePath("a.mp3")), "another a");
        QCOMPARE(readFile(dir.filePath("b.mp3")), "b");
        // "Best" was emptied and goes; "Brel" still holds a.mp3 and stays.
        QCOMPARE(QDir(dir.filePath("Brel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"a.mp3"});
        // Redone, b.mp3 goes back into a new "Best", which undoing again removes.
        QCOMPARE(journal.redoLabel(), QStringLiteral("Renommage"));
        QCOMPARE(journal.redo().restored, 1);
        QCOMPARE(readFile(dir.filePath("Brel/Best/b.mp3")), "b");
        QCOMPARE(journal.undo().restored, 1);
        QVERIFY(!QFileInfo::exists(dir.filePath("Brel/Best")));
        QCOMPARE(readFile(dir.filePath("b.mp3")), "b");
    }

    // An undo stopped between two files leaves the rest to undo; what was undone can be redone.
    void undoStoppedBetweenFiles()
    {
        const QByteArray original =
            id3v2Tag(3, {id3v2TextFrame(3, "TIT2", "Ancien")}, 200) + frames(FrameHeader(), 10);
        QStringList paths;
        for (int i = 0; i < 12; ++i) {
            paths << m_root->filePath(QString("%1.mp3").arg(i));
            put(paths.last(), original);
        }
        QList<tags::TagBackup> backups;
        QVERIFY(tags::saveBatch(paths, tags::FieldEdit{.titre = "Nouveau"}, {}, &backups)
                    .failures.isEmpty());
        const auto count = [&](const QByteArray &content) {
            return std::count_if(paths.cbegin(), paths.cend(),
                                 [&](const QString &p) { return readFile(p) == content; });
        };
        const QByteArray saved = readFile(paths[0]);
        files::UndoJournal journal;
        journal.recordTagSaves("Enregistrement", backups);
        std::atomic_bool stop = false;
        const files::UndoReport stopped =
            journal.undo({[&](qsizetype, qsizetype) { stop = true; }, &stop});
        QVERIFY(stopped.cancelled && stopped.failures.isEmpty());
        // A few files are restored at once: at most one each, once stopped.
        QVERIFY2(stopped.restored >= 1 && stopped.restored <= 4,
                 qPrintable(QString::number(stopped.restored)));
        QCOMPARE(count(original), stopped.restored);
        QCOMPARE(journal.lastLabel(), QStringLiteral("Enregistrement"));
        QCOMPARE(journal.undo().restored, 12 - stopped.restored);
        QCOMPARE(count(original), 12);
        // Two redo steps: the rest, then the first files.
        QVERIFY(journal.isEmpty() && journal.canRedo());
        journal.redo();
        journal.redo();
        QCOMPARE(count(saved), 12);
        QVERIFY(!journal.canRedo());
        journal.undo();
        journal.undo();
        QCOMPARE(count(original), 12);
    }

    // The files below a folder are listed within bounds; past them, nothing is listed (a stop
    // is tested through the window). The tree: "a.mp3", "b.mp3", "CD 1/c.mp3", "CD 1/Bonus/d.MP3",
    // ".cache/e.mp3".
    void filesBelowBounded_data()
    {
        QTest::addColumn<qsizetype>("maxFiles");
        QTest::addColumn<qsizetype>("maxFolders");
        QTest::addColumn<QString>("names");
        QTest::addColumn<int>("end");
        const int complete = int(files::FilesBelow::End::Complete);
        const int tooMany = int(files::FilesBelow::End::TooMany);
        const QString all = "a.mp3|b.mp3|CD 1/Bonus/d.MP3|CD 1/c.mp3";
        QTest::newRow("within bounds") << qsizetype(4) << qsizetype(4) << all << complete;
        QTest::newRow("files too many in the last folder read")
            << qsizetype(3) << qsizetype(4) << "" << tooMany;
        QTest::newRow("files too many before the last folder")
            << qsizetype(1) << qsizetype(4) << "" << tooMany;
        QTest::newRow("one folder too many") << qsizetype(4) << qsizetype(2) << "" << tooMany;
    }
    void filesBelowBounded()
    {
        QFETCH(qsizetype, maxFiles);
        QFETCH(qsizetype, maxFolders);
        QFETCH(QString, names);
        QFETCH(int, end);
        const QString top = m_root->filePath("arbre");
        for (const char *name :
             {"a.mp3", "b.mp3", "CD 1/c.mp3", "CD 1/Bonus/d.MP3", ".cache/e.mp3"}) {
            QVERIFY(QDir().mkpath(QFileInfo(joinPath(top, name)).path()));
            put(joinPath(top, name), "x");
        }
        const std::atomic_bool stop = false;
        const files::FilesBelow listing =
            files::listFilesBelow(top, "*.mp3", stop, {maxFiles, maxFolders});
        QCOMPARE(listing.names.join(u'|'), names);
        QCOMPARE(int(listing.end), end);
        QCOMPARE(listing.folders.size(), names.isEmpty() ? 0 : 3);
    }

    // The real player (QMediaPlayer; CTest gives GStreamer a fake audio sink) on two seconds of
    // silent MPEG frames.
    void playThenStop()
    {
        const QString mp3 = m_root->filePath("Été – silence.mp3");
        put(mp3, frames(FrameHeader(), 77));
        files::MediaPlayer player;
        bool failed = false;
        player.setErrorHandler([&failed] { failed = true; });
        player.setFileName(mp3);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), files::Player::Playing, 10000);
        player.stop();
        QTRY_COMPARE(player.playState(), files::Player::Stopped);
        QVERIFY(!failed);
    }
};

QTEST_GUILESS_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
