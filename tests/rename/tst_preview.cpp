#include "rename/newname.h"
#include "rename/preview.h"

#include <QTest>

using namespace renaming;

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void emptyList();
    void sameColumnTwice();
};

namespace {

RenameSettings operation(Operation op)
{
    RenameSettings s;
    s.operation = op;
    return s;
}

} // namespace

void TestPreview::cells_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("marker");

    const int inverser = int(Operation::Inverser);
    const int supprimer = int(Operation::Supprimer);
    QTest::newRow("unchecked row") << supprimer << 0 << "a.mp3" << false << "(Pas selectionné)" << true;
    QTest::newRow("checked row gets its name") << supprimer << 2 << "01a.mp3" << true << "a.mp3" << false;
    QTest::newRow("no parenthesis, checked") << inverser << 0 << "Song.mp3" << true << "(Non compatible)" << true;
    QTest::newRow("no parenthesis, unchecked") << inverser << 0 << "Song.mp3" << false << "(Pas selectionné)" << true;
    QTest::newRow("failed operation") << supprimer << 30 << "12345678.mp3" << true << "(Pas selectionné)" << true;
}

void TestPreview::cells()
{
    QFETCH(int, op);
    QFETCH(int, n);
    QFETCH(QString, fichier);
    QFETCH(bool, checked);
    QFETCH(QString, text);
    QFETCH(bool, marker);
    RenameSettings settings = operation(Operation(op));
    settings.nombre = n;
    settings.inversion = TitreParentheses;
    const PreviewCell cell = previewCell({fichier, checked}, settings);
    QCOMPARE(cell.text, text);
    QCOMPARE(cell.marker, marker);
}

void TestPreview::emptyList()
{
    QVERIFY(apercu({}, RenameSettings()).isEmpty());
}

// A failing row does not stop the rows after it, and a second run gives the same column.
void TestPreview::sameColumnTwice()
{
    RenameSettings settings = operation(Operation::Supprimer);
    settings.nombre = 9;
    const QList<PreviewRow> rows = {{"0123456789.mp3", true}, {"shrt.mp3", true},
                                    {"0123456789b.mp3", false}, {"abcdefghijk.wav", true}};
    const QList<PreviewCell> expected = {{"9.mp3", false}, {kPasSelectionne.toString(), true},
                                         {kPasSelectionne.toString(), true}, {"jk.wav", false}};
    QCOMPARE(apercu(rows, settings), expected);
    QCOMPARE(apercu(rows, settings), expected);
}

QTEST_GUILESS_MAIN(TestPreview)
#include "tst_preview.moc"
