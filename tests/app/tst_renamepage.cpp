#include "filepagefixture.h"

#include "app/cdpage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

using app::TagPage;

class TestRenamePage : public QObject
{
    Q_OBJECT
private slots:
    void fixedLists();
    void operations_data();
    void operations();
    void markersAndColours();
    void settingsChangedAfterPreview();
    void noCheckedRow();
    void sameNewNameTwice();
    void slashInTypedName();
    void verifcaractere();
};

void TestRenamePage::fixedLists()
{
    FilePageFixture f;
    app::Form1 &w = f.start({});
    app::RenamePanel *p = w.renamePanel;
    QVERIFY(p->Option1->isChecked());
    QCOMPARE(p->Combo1->count(), 31);
    QCOMPARE(p->Combo2->itemText(30), QStringLiteral("30"));
    QCOMPARE(p->Combo1->currentText(), QStringLiteral("0"));
    QVERIFY(p->Combo3->isEditable());
    QVERIFY(!p->Combo1->isEditable() && !p->Combo4->isEditable());
    QCOMPARE(p->Combo3->currentText(), QStringLiteral("-"));
    QCOMPARE(p->Combo4->count(), 5);
    QCOMPARE(p->Combo4->itemText(4), QStringLiteral("1er mot en Majuscule"));
    QCOMPARE(p->Combo5->count(), 4);
    QCOMPARE(p->Combo6->itemText(1), QStringLiteral("Titre (Artiste) <--> Artiste - Titre"));
    QStringList captions;
    for (const QLabel *label : p->findChildren<QLabel *>())
        captions.append(label->text());
    QVERIFY(captions.contains(QStringLiteral("caractère(s) à partir de  la position :")));
    QVERIFY(captions.contains(QStringLiteral("+ nom du fichier actuel +")));
    QCOMPARE(w.findChild<QRadioButton *>(QStringLiteral("Option5"))->text(), QStringLiteral("Manuellement"));

    // The page as it shows, for a person to look at.
    const QString shots = qEnvironmentVariable("TARVEX_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        w.resize(1100, 520);
        w.show();
        QVERIFY(w.grab().save(shots + QStringLiteral("/renomeur.png")));
    }
}

void TestRenamePage::operations_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("fields"); // objectName=value
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("preview");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("Supprimer") << "Option1" << QStringList{"Combo1=5"}
                               << QStringList{"01 - Alpha.mp3", "02 - Beta.mp3"}
                               << QStringList{"Alpha.mp3", "Beta.mp3"}
                               << QStringList{"Alpha.mp3=01 - Alpha.mp3", "Beta.mp3=02 - Beta.mp3"};
    QTest::newRow("Remplacer") << "Option2" << QStringList{"Text1=_", "Combo3=-"}
                               << QStringList{"a_b_c.mp3"} << QStringList{"a-b-c.mp3"}
                               << QStringList{"a-b-c.mp3=a_b_c.mp3"};
    QTest::newRow("Lettrage") << "Option3" << QStringList{"Combo4=1ere lettre en Majuscule", "Combo5=Majuscule"}
                              << QStringList{"le petit chat.mp3"} << QStringList{"Le Petit Chat.MP3"}
                              << QStringList{"Le Petit Chat.MP3=le petit chat.mp3"};
    QTest::newRow("Inverser") << "Option4" << QStringList{"Combo6=Artiste - Titre <--> Titre - Artiste"}
                              << QStringList{"Artiste - Titre.mp3"} << QStringList{"Titre - Artiste.mp3"}
                              << QStringList{"Titre - Artiste.mp3=Artiste - Titre.mp3"};
    QTest::newRow("Manuellement") << "Option5" << QStringList{"Text2=Nouveau nom.mp3"}
                                  << QStringList{"vieux.mp3"} << QStringList{"Nouveau nom.mp3"}
                                  << QStringList{"Nouveau nom.mp3=vieux.mp3"};
    QTest::newRow("Ajouter") << "Option6" << QStringList{"Text6=01 ", "Text7= (live)"}
                             << QStringList{"Song.mp3"} << QStringList{"01 Song (live).mp3"}
                             << QStringList{"01 Song (live).mp3=Song.mp3"};
}

void TestRenamePage::operations()
{
    QFETCH(QString, option);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, files);
    QFETCH(QStringList, preview);
    QFETCH(QStringList, after);
    FilePageFixture f;
    app::Form1 &w = f.start(files);
    w.findChild<QRadioButton *>(option)->setChecked(true);
    for (const QString &field : fields) {
        QWidget *widget = w.renamePanel->findChild<QWidget *>(field.section('=', 0, 0));
        const QString value = field.section('=', 1);
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            if (combo->isEditable())
                combo->setCurrentText(value);
            else
                combo->setCurrentIndex(combo->findText(value));
        } else {
            qobject_cast<QLineEdit *>(widget)->setText(value);
        }
    }
    f.check(files);

    w.toolbarClick("voir");
    QCOMPARE(f.column(TagPage::NewNameColumn), preview);
    for (int i = 0; i < f.list()->topLevelItemCount(); ++i)
        QCOMPARE(f.list()->topLevelItem(i)->foreground(TagPage::NewNameColumn).color(), w.fileCommands->nameColour());

    w.toolbarClick("renom");
    QCOMPARE(FilePageFixture::state(f.music), after);
    QStringList listed;
    for (const QString &entry : after)
        listed.append(entry.section('=', 0, 0));
    QCOMPARE(f.column(TagPage::NameColumn), listed);
    QCOMPARE(f.column(TagPage::NewNameColumn), QStringList(listed.size(), QString()));
    QCOMPARE(f.checkedCount(), 0);
    QVERIFY(f.dialogs->shown.isEmpty());
}

void TestRenamePage::markersAndColours()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"Song.mp3", "Titre (Artiste).mp3", "x (y).mp3"});
    w.renamePanel->Option4->setChecked(true);
    w.renamePanel->Combo6->setCurrentIndex(1);
    f.check({"Song.mp3", "Titre (Artiste).mp3"});
    w.toolbarClick("voir");
    QCOMPARE(f.column(TagPage::NewNameColumn),
             (QStringList{"(Non compatible)", "Artiste - Titre .mp3", "(Pas selectionné)"}));
    const QColor grey = w.fileCommands->markerColour();
    QVERIFY(grey != w.fileCommands->nameColour());
    QCOMPARE(f.row("Song.mp3")->foreground(TagPage::NewNameColumn).color(), grey);
    QCOMPARE(f.row("Titre (Artiste).mp3")->foreground(TagPage::NewNameColumn).color(), w.fileCommands->nameColour());
    QCOMPARE(f.row("x (y).mp3")->foreground(TagPage::NewNameColumn).color(), grey);
    const QString shots = qEnvironmentVariable("TARVEX_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        w.resize(1100, 520);
        w.show();
        QVERIFY(w.grab().save(shots + QStringLiteral("/apercu.png")));
    }

    // A failure in one row leaves the other rows their names.
    w.renamePanel->Option1->setChecked(true);
    w.renamePanel->Combo1->setCurrentIndex(30);
    f.check({"x (y).mp3"});
    f.row("Song.mp3")->setCheckState(TagPage::NameColumn, Qt::Unchecked);
    w.renamePanel->Combo2->setCurrentIndex(0);
    w.toolbarClick("voir");
    QCOMPARE(f.column(TagPage::NewNameColumn),
             (QStringList{"(Pas selectionné)", "(Pas selectionné)", "(Pas selectionné)"}));
    w.renamePanel->Combo1->setCurrentIndex(2);
    for (int run = 0; run < 2; ++run) {
        w.toolbarClick("voir");
        QCOMPARE(f.column(TagPage::NewNameColumn), (QStringList{"(Pas selectionné)", "tre (Artiste).mp3", "(y).mp3"}));
    }
    // The markers are never used as names.
    w.toolbarClick("renom");
    QCOMPARE(FilePageFixture::state(f.music),
             (QStringList{"(y).mp3=x (y).mp3", "Song.mp3=Song.mp3", "tre (Artiste).mp3=Titre (Artiste).mp3"}));
}

void TestRenamePage::settingsChangedAfterPreview()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"01 a.mp3", "02 b.mp3"});
    f.check({"01 a.mp3", "02 b.mp3"});
    w.renamePanel->Combo1->setCurrentIndex(3);
    w.toolbarClick("voir");
    const QStringList previewed = f.column(TagPage::NewNameColumn);
    QCOMPARE(previewed, (QStringList{"a.mp3", "b.mp3"}));
    w.renamePanel->Combo1->setCurrentIndex(1);
    QCOMPARE(f.column(TagPage::NewNameColumn), previewed);
    w.toolbarClick("voir");
    w.renamePanel->Combo1->setCurrentIndex(3);
    w.toolbarClick("renom"); // renames as the column says, not as the settings now say
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"1 a.mp3=01 a.mp3", "2 b.mp3=02 b.mp3"}));
}

void TestRenamePage::noCheckedRow()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    w.renamePanel->Option5->setChecked(true);
    w.renamePanel->Text2->setText("c.mp3");
    w.toolbarClick("voir");
    QCOMPARE(f.column(TagPage::NewNameColumn), (QStringList{"(Pas selectionné)", "(Pas selectionné)"}));
    f.check({"a.mp3"}); // checked after the preview: its cell is still a marker
    w.toolbarClick("renom");
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"a.mp3=a.mp3", "b.mp3=b.mp3"}));
    QCOMPARE(f.column(TagPage::NewNameColumn), (QStringList{"", ""}));
    QCOMPARE(f.checkedCount(), 0);
    QVERIFY(f.dialogs->shown.isEmpty());
}

void TestRenamePage::sameNewNameTwice()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3", "b.mp3"});
    w.renamePanel->Option5->setChecked(true);
    w.renamePanel->Text2->setText("c.mp3");
    f.check({"a.mp3", "b.mp3"});
    w.toolbarClick("voir");
    w.toolbarClick("renom");
    QCOMPARE(FilePageFixture::state(f.music), (QStringList{"b.mp3=b.mp3", "c.mp3=a.mp3"}));
    QCOMPARE(f.dialogs->shown.size(), 1);
    QCOMPARE(f.dialogs->shown[0].title, QStringLiteral("Tarvex"));
    QCOMPARE(f.dialogs->shown[0].icon, app::Dialogs::Icon::Warning);
    QCOMPARE(f.dialogs->lastText(), QStringLiteral("Ces fichiers n'ont pas été renommés :\n"
                                                   "« b.mp3 » → « c.mp3 » : un fichier de ce nom existe déjà"));
    QCOMPARE(f.column(TagPage::NameColumn), (QStringList{"b.mp3", "c.mp3"}));
}

void TestRenamePage::slashInTypedName()
{
    FilePageFixture f;
    app::Form1 &w = f.start({"a.mp3"});
    w.renamePanel->Option5->setChecked(true);
    w.renamePanel->Text2->setText("../a.mp3");
    f.check({"a.mp3"});
    w.toolbarClick("voir");
    QCOMPARE(f.column(TagPage::NewNameColumn), QStringList{"../a.mp3"});
    w.toolbarClick("renom");
    QCOMPARE(FilePageFixture::state(f.music), QStringList{"a.mp3=a.mp3"});
    QVERIFY(!QFile::exists(f.dir.filePath("a.mp3")));
    QVERIFY(f.dialogs->lastText().contains("nom de fichier interdit"));
}

void TestRenamePage::verifcaractere()
{
    FilePageFixture f;
    app::Form1 &w = f.start({});
    QTreeWidget *tracks = w.Frame6->LV2;
    tracks->clear();
    for (const char *title : {"AC/DC", "A/B/C", "Sans barre"})
        tracks->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(title)}));
    w.run("verifcaractere");
    QStringList titles;
    for (int i = 0; i < tracks->topLevelItemCount(); ++i)
        titles.append(tracks->topLevelItem(i)->text(0));
    QCOMPARE(titles, (QStringList{"AC-DC", "A-B/C", "Sans barre"}));
}

QTEST_MAIN(TestRenamePage)
#include "tst_renamepage.moc"
