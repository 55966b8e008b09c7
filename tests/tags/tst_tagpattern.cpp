// Patterns between tags and file names, both ways.
#include "tags/tagpattern.h"

#include <QTest>

using tags::PatternField;
using tags::PatternValues;

Q_DECLARE_METATYPE(PatternValues)

namespace {

const PatternValues song = {{PatternField::Titre, "Où/va"},
                            {PatternField::Artiste, "Brel"},
                            {PatternField::Album, "Ces gens-là"},
                            {PatternField::Piste, "7"}};

} // namespace

class TestTagPattern : public QObject
{
    Q_OBJECT
private slots:
    void format_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<PatternValues>("values");
        QTest::addColumn<QString>("name"); // empty: a failure
        QTest::newRow("fields and padding")
            << "%piste:2% - %artiste% - %titre%" << song << "07 - Brel - Où-va";
        QTest::newRow("padding shorter than the number") << "%piste:1%" << song << "7";
        QTest::newRow("folders") << "%artiste%/%album%/%piste:3% %titre%" << song
                                 << "Brel/Ces gens-là/007 Où-va";
        QTest::newRow("literal percent") << "%%%piste%%% %%titre" << song << "%7% %titre";
        QTest::newRow("missing value") << "%artiste% (%annee%)" << song << "";
        QTest::newRow("empty folder") << "%artiste%//%titre%" << song << "";
        QTest::newRow("dot dot folder") << "../%titre%" << song << "";
        QTest::newRow("name too long") << QString(250, 'a') + "%titre%" << song << "";
        QTest::newRow("unknown field") << "%titel%" << song << "";
        QTest::newRow("unterminated field") << "%piste - %titre" << song << "";
        QTest::newRow("width on a text field") << "%titre:2%" << song << "";
    }
    void format()
    {
        QFETCH(QString, pattern);
        QFETCH(PatternValues, values);
        QFETCH(QString, name);
        const tags::Result<QString> result = tags::formatName(pattern, values);
        QCOMPARE(result.ok() ? *result : QString(), name);
        QCOMPARE(result.error().isEmpty(), !name.isEmpty());
    }

    void match_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("values"); // titre, artiste, piste, annee; empty: no match
        QTest::newRow("separators inside the title")
            << "%piste% - %artiste% - %titre%"
            << "03 - Brel - Ne me - quitte pas"
            << QStringList{"Ne me - quitte pas", "Brel", "03", ""};
        QTest::newRow("folders") << "%artiste%/%annee% %titre%"
                                 << "Brel/1959 Ne me quitte pas"
                                 << QStringList{"Ne me quitte pas", "Brel", "", "1959"};
        QTest::newRow("track not digits") << "%piste% %titre%"
                                          << "A1 Song" << QStringList{};
        QTest::newRow("literal must be there") << "%artiste% - %titre%"
                                               << "Brel_Song" << QStringList{};
        QTest::newRow("same field twice agrees") << "%artiste% - %titre% (%artiste%)"
                                                 << "A - B (A)" << QStringList{"B", "A", "", ""};
        QTest::newRow("same field twice differs") << "%artiste% - %titre% (%artiste%)"
                                                  << "A - B (C)" << QStringList{};
        QTest::newRow("literal percent and regex characters")
            << "%titre% [100%%]"
            << "x.y [100%]" << QStringList{"x.y", "", "", ""};
        QTest::newRow("faulty pattern") << "%titre"
                                        << "x" << QStringList{};
    }
    void match()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(QStringList, values);
        const std::optional<PatternValues> got = tags::matchName(pattern, name);
        QCOMPARE(got.has_value(), !values.isEmpty());
        if (got)
            QCOMPARE(
                (QStringList{got->value(PatternField::Titre), got->value(PatternField::Artiste),
                             got->value(PatternField::Piste), got->value(PatternField::Annee)}),
                values);
    }

    void valuesFromTags()
    {
        tags::TagType t;
        t.TagV1.setValide(true);
        t.TagV1.setTitre("v1 titre");
        t.TagV1.setArtiste("v1 artiste");
        t.TagV1.setPiste(4);
        t.TagV1.setGenre(13);
        t.TagV2.setValide(true);
        t.TagV2.setTitre("v2 titre");
        t.TagV2.setPiste("9/12");
        t.TagV2.setGenre(255);
        t.TagV2.setGenreTexte("Chanson");
        const PatternValues v = tags::patternValues(t);
        QCOMPARE((QStringList{v.value(PatternField::Titre), v.value(PatternField::Artiste),
                              v.value(PatternField::Piste), v.value(PatternField::Genre)}),
                 (QStringList{"v2 titre", "v1 artiste", "9", "Chanson"}));
        QVERIFY(!v.contains(PatternField::Album));
    }

    void nameWithFolders()
    {
        QCOMPARE(tags::nameToMatch(u"%artiste%/%album%/%titre%", "/m/Brel/Best/a.b.mp3"),
                 "Brel/Best/a.b");
        QCOMPARE(tags::nameToMatch(u"%titre%", "/m/Brel/a.mp3"), "a");
    }
};

QTEST_GUILESS_MAIN(TestTagPattern)
#include "tst_tagpattern.moc"
