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
        QTest::newRow("folders") << "%artiste%/%album%/%piste:3% %titre%" << song
                                 << "Brel/Ces gens-là/007 Où-va";
        QTest::newRow("literal percent") << "%%%piste%%% %%titre" << song << "%7% %titre";
        QTest::newRow("missing value") << "%artiste% (%annee%)" << song << "";
        QTest::newRow("dot dot folder") << "../%titre%" << song << "";
        QTest::newRow("name too long") << QString(250, 'a') + "%titre%" << song << "";
        QTest::newRow("unknown field") << "%titel%" << song << "";
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
        QTest::newRow("track not digits") << "%piste% %titre%"
                                          << "A1 Song" << QStringList{};
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
};

QTEST_GUILESS_MAIN(TestTagPattern)
#include "tst_tagpattern.moc"
