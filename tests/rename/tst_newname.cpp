#include "rename/newname.h"

#include <QTest>

using renaming::NewName;
using renaming::Operation;
using renaming::RenameSettings;

Q_DECLARE_METATYPE(RenameSettings)

namespace {

RenameSettings supprimer(int n, int p)
{
    RenameSettings s;
    s.operation = Operation::Supprimer;
    s.nombre = n;
    s.position = p;
    return s;
}

RenameSettings remplacer(const QString &search, const QString &by)
{
    RenameSettings s;
    s.operation = Operation::Remplacer;
    s.recherche = search;
    s.remplacement = by;
    return s;
}

RenameSettings lettrage(int nom, int ext)
{
    RenameSettings s;
    s.operation = Operation::Lettrage;
    s.lettrageNom = nom;
    s.lettrageExt = ext;
    return s;
}

RenameSettings inverser(int rule)
{
    RenameSettings s;
    s.operation = Operation::Inverser;
    s.inversion = rule;
    return s;
}

RenameSettings manuel(const QString &name)
{
    RenameSettings s;
    s.operation = Operation::Manuellement;
    s.nomManuel = name;
    return s;
}

RenameSettings ajouter(const QString &before, const QString &after)
{
    RenameSettings s;
    s.operation = Operation::Ajouter;
    s.avant = before;
    s.apres = after;
    return s;
}

const NewName failure{NewName::Failure, {}};
const NewName nonCompatible{NewName::NonCompatible, {}};

} // namespace

class TestNewName : public QObject
{
    Q_OBJECT

private slots:
    void operation_data();
    void operation();
    void defaultsLeaveNameUnchanged();
};

void TestNewName::operation_data()
{
    QTest::addColumn<RenameSettings>("settings");
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<NewName>("expected");

    const QString song = QStringLiteral("01 - Song.mp3");
    QTest::newRow("delete leading number") << supprimer(5, 0) << song << NewName::of("Song.mp3");
    QTest::newRow("delete after position") << supprimer(2, 3) << song << NewName::of("01 Song.mp3");
    QTest::newRow("delete nothing") << supprimer(0, 0) << song << NewName::of(song);
    QTest::newRow("delete nothing at the end") << supprimer(0, 13) << song << NewName::of(song);
    QTest::newRow("position past the end") << supprimer(0, 14) << song << failure;
    QTest::newRow("delete into the extension") << supprimer(3, 2) << "ab.mp3" << NewName::of("ab3");
    QTest::newRow("delete up to the end") << supprimer(4, 6) << "abcdef.mp3" << NewName::of("abcdef");
    QTest::newRow("more than the name holds") << supprimer(30, 0) << "12345678.mp3" << failure;
    QTest::newRow("accented letters count once") << supprimer(1, 0) << "éàü.mp3" << NewName::of("àü.mp3");
    QTest::newRow("astral character counts once")
        << supprimer(1, 1) << QStringLiteral("a\U0001F600b.mp3") << NewName::of("ab.mp3");
    QTest::newRow("negative count") << supprimer(-1, 0) << song << failure;

    QTest::newRow("underscores to dashes") << remplacer("_", "-") << "a_b_c.mp3" << NewName::of("a-b-c.mp3");
    QTest::newRow("extension untouched") << remplacer("_", "-") << "a_b._mp" << NewName::of("a-b._mp");
    QTest::newRow("first character of R only") << remplacer("_", "xyz") << "a_b.mp3" << NewName::of("axb.mp3");
    QTest::newRow("empty replacement") << remplacer("_", "") << "a_b.mp3" << NewName::of("a_b.mp3");
    QTest::newRow("empty search fills the name") << remplacer("", "x") << "abc.mp3" << NewName::of("xxx.mp3");
    QTest::newRow("longer search, first character") << remplacer("ab", "-") << "abcab.mp3" << NewName::of("-bc-b.mp3");
    QTest::newRow("overlapping occurrences") << remplacer("aa", "b") << "aaaa.mp3" << NewName::of("bbba.mp3");
    QTest::newRow("case-sensitive search") << remplacer("a", "-") << "AaA.mp3" << NewName::of("A-A.mp3");
    QTest::newRow("accented search") << remplacer("é", "e") << "été.mp3" << NewName::of("ete.mp3");

    QTest::newRow("no case change") << lettrage(0, 0) << "Mon Titre.Mp3" << NewName::of("Mon Titre.Mp3");
    QTest::newRow("split by position, not by dot") << lettrage(0, 0) << "name.flac" << NewName::of("name..lac");
    QTest::newRow("upper with accents") << lettrage(1, 1) << "été à Paris.mp3" << NewName::of("ÉTÉ À PARIS.MP3");
    QTest::newRow("lower with accents") << lettrage(2, 2) << "ÉTÉ Œuvre.MP3" << NewName::of("été œuvre.mp3");
    QTest::newRow("every word, double blank") << lettrage(3, 0) << "le  petit chat.mp3" << NewName::of("Le  Petit Chat.mp3");
    QTest::newRow("every word keeps inner case") << lettrage(3, 0) << "the bEST.mp3" << NewName::of("The BEST.mp3");
    QTest::newRow("every word, trailing blank") << lettrage(3, 0) << "a b .mp3" << NewName::of("A B .mp3");
    QTest::newRow("every word, accented initial") << lettrage(3, 0) << "élan vital.mp3" << NewName::of("Élan Vital.mp3");
    QTest::newRow("extension initial from upper") << lettrage(0, 3) << "x.MP3" << NewName::of("x.Mp3");
    QTest::newRow("extension initial from lower") << lettrage(0, 3) << "x.mp3" << NewName::of("x.Mp3");
    QTest::newRow("first word only") << lettrage(4, 0) << "mon TITRE.mp3" << NewName::of("Mon titre.mp3");
    QTest::newRow("first word only, accents") << lettrage(4, 2) << "élan VITAL.MP3" << NewName::of("Élan vital.mp3");

    QTest::newRow("artist and title swapped") << inverser(0) << "Artist - Title.mp3" << NewName::of("Title - Artist.mp3");
    QTest::newRow("dash without blanks") << inverser(0) << "A-B.mp3" << NewName::of(" - .mp3");
    QTest::newRow("first dash is used") << inverser(0) << "A - B - C.mp3" << NewName::of("B - C - A.mp3");
    QTest::newRow("dash at the end") << inverser(0) << "Artist -.mp3" << NewName::of(" - Artist.mp3");
    QTest::newRow("name begins with dash") << inverser(0) << "-AB.mp3" << failure;
    QTest::newRow("no dash") << inverser(0) << "NoDash.mp3" << failure;
    QTest::newRow("dash in the extension only") << inverser(0) << "Song.m-3" << failure;
    QTest::newRow("title (artist)") << inverser(1) << "Title (Artist).mp3" << NewName::of("Artist - Title .mp3");
    QTest::newRow("no parenthesis") << inverser(1) << "Song.mp3" << nonCompatible;
    QTest::newRow("last parenthesis is used") << inverser(1) << "a (b) (c).mp3" << NewName::of("c - a (b) .mp3");
    QTest::newRow("parenthesis before last") << inverser(1) << "T (A.mp3" << NewName::of(" - T .mp3");
    QTest::newRow("parenthesis ends the name") << inverser(1) << "Title (.mp3" << failure;

    QTest::newRow("manual name") << manuel("Nouveau.mp3") << "x.mp3" << NewName::of("Nouveau.mp3");
    QTest::newRow("empty manual name") << manuel("") << "x.mp3" << NewName::of("");

    QTest::newRow("add before and after") << ajouter("01 ", " (live)") << "Song.mp3" << NewName::of("01 Song (live).mp3");
    QTest::newRow("add nothing") << ajouter("", "") << "Song.mp3" << NewName::of("Song.mp3");
    QTest::newRow("too short to split") << ajouter("x", "") << "abc" << failure;
    QTest::newRow("too short, swap") << inverser(1) << "(a)" << failure;
    QTest::newRow("too short, deleting nothing") << supprimer(0, 0) << "abc" << NewName::of("abc");
}

void TestNewName::operation()
{
    QFETCH(RenameSettings, settings);
    QFETCH(QString, fichier);
    QFETCH(NewName, expected);
    const NewName actual = renaming::newFileName(fichier, settings);
    QCOMPARE(int(actual.kind), int(expected.kind));
    QCOMPARE(actual.name, expected.name);
}

// The page's initial settings ("Supprimer" 0 characters at position 0) propose the same name.
void TestNewName::defaultsLeaveNameUnchanged()
{
    const RenameSettings defaults;
    QCOMPARE(renaming::newFileName(u"Piste 01.mp3", defaults), NewName::of("Piste 01.mp3"));
    QCOMPARE(defaults.remplacement, QStringLiteral("-"));
}

QTEST_GUILESS_MAIN(TestNewName)
#include "tst_newname.moc"
