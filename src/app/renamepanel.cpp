#include "app/renamepanel.h"

#include "app/widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

namespace {

QComboBox *fixedList(QWidget *parent, const char *name)
{
    auto *combo = named<QComboBox>(parent, name);
    combo->setEditable(false);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

} // namespace

RenamePanel::RenamePanel(QGroupBox *frame) : QWidget(frame)
{
    setObjectName(QStringLiteral("RenamePanel"));
    Option1 = named<QRadioButton>(this, "Option1", tr("&Supprimer"));
    Option2 = named<QRadioButton>(this, "Option2", tr("Re&mplacer"));
    Option3 = named<QRadioButton>(this, "Option3", tr("Lettra&ge"));
    Option4 = named<QRadioButton>(this, "Option4", tr("In&verser"));
    Option5 = named<QRadioButton>(this, "Option5", tr("Man&uellement"));
    Option6 = named<QRadioButton>(this, "Option6", tr("A&jouter"));
    optDapresTag = named<QRadioButton>(this, "optDapresTag", tr("D'a&près le tag"));
    cboModele = named<QComboBox>(this, "cboModele");
    cboModele->setEditable(true);
    cboModele->setAccessibleName(tr("Modèle de nom"));
    cboModele->lineEdit()->setAccessibleName(cboModele->accessibleName());
    cboModele->setInsertPolicy(QComboBox::NoInsert);
    cboModele->setToolTip(
        tr("Champs : %titre% %artiste% %album% %annee% %piste% %piste:2% %genre% %commentaire% ; "
           "« / » crée des dossiers, « %% » écrit « % »."));
    setPatterns({});
    Option1->setChecked(true);

    Combo1 = fixedList(this, "Combo1");
    Combo2 = fixedList(this, "Combo2");
    Text1 = named<QLineEdit>(this, "Text1");
    Text1->setAccessibleName(tr("Texte à remplacer"));
    Combo3 = named<QComboBox>(this, "Combo3");
    Combo3->setEditable(true);
    Combo3->setAccessibleName(tr("Caractère de remplacement"));
    Combo3->lineEdit()->setAccessibleName(Combo3->accessibleName());
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    Combo4 = fixedList(this, "Combo4");
    Combo5 = fixedList(this, "Combo5");
    Combo6 = fixedList(this, "Combo6");
    Text2 = named<QLineEdit>(this, "Text2");
    Text2->setAccessibleName(tr("Nouveau nom"));
    Text6 = named<QLineEdit>(this, "Text6");
    Text6->setAccessibleName(tr("Texte avant le nom"));
    Text7 = named<QLineEdit>(this, "Text7");
    Text7->setAccessibleName(tr("Texte après le nom"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(10);
    auto row = [grid](int r, QRadioButton *option, std::initializer_list<QWidget *> widgets) {
        if (option)
            grid->addWidget(option, r, 0);
        auto *line = new QHBoxLayout;
        for (QWidget *w : widgets)
            line->addWidget(w);
        line->addStretch();
        grid->addLayout(line, r, 1);
    };
    auto label = [this](const QString &text) { return new QLabel(text, this); };
    row(0, Option1, {Combo1, label(tr("caractère(s) à partir de"))});
    row(1, nullptr, {label(tr("la position :")), Combo2});
    row(2, Option2, {Text1, label(tr("par :")), Combo3});
    // The two case lists take a line each, so that their longest entry is never cut.
    row(3, Option3, {Combo4, label(tr("(Nom de fichier)"))});
    row(4, nullptr, {Combo5, label(tr("(Extension)"))});
    row(5, Option4, {Combo6});
    row(6, Option5, {Text2});
    row(7, Option6, {Text6, label(tr("+ nom du fichier actuel +")), Text7, label(tr(".ext"))});
    row(8, optDapresTag, {cboModele});
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(9, 1);
    for (QComboBox *cases : {Combo4, Combo5})
        cases->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Text2->setMinimumWidth(260);
    for (QLineEdit *affix : {Text6, Text7})
        affix->setMaximumWidth(90);

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(this);
    fillFixedLists();

    // Every change of a setting, typed or chosen, is told at once.
    for (QRadioButton *option :
         {Option1, Option2, Option3, Option4, Option5, Option6, optDapresTag})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                emit settingsChanged();
        });
    for (QComboBox *combo : {Combo1, Combo2, Combo4, Combo5, Combo6})
        connect(combo, &QComboBox::currentIndexChanged, this, &RenamePanel::settingsChanged);
    for (QComboBox *combo : {Combo3, cboModele})
        connect(combo, &QComboBox::currentTextChanged, this, &RenamePanel::settingsChanged);
    for (QLineEdit *field : {Text1, Text2, Text6, Text7})
        connect(field, &QLineEdit::textChanged, this, &RenamePanel::settingsChanged);
}

void RenamePanel::fillFixedLists()
{
    QStringList numbers;
    for (int i = 0; i <= 30; ++i)
        numbers.append(QString::number(i));
    const QStringList cases = {tr("Ne pas changer"), tr("Majuscule"), tr("Minuscule"),
                               tr("1ere lettre en Majuscule"), tr("1er mot en Majuscule")};
    const QList<std::pair<QComboBox *, QStringList>> lists = {
        {Combo1, numbers},
        {Combo2, numbers},
        {Combo3, {QStringLiteral("-"), QStringLiteral("/"), QStringLiteral("_")}},
        {Combo4, cases},
        {Combo5, cases.mid(0, 4)},
        {Combo6,
         {tr("Artiste - Titre <--> Titre - Artiste"), tr("Titre (Artiste) <--> Artiste - Titre")}},
    };
    for (const auto &[combo, entries] : lists) {
        combo->clear();
        combo->addItems(entries);
        combo->setCurrentIndex(0);
    }
}

renaming::RenameSettings RenamePanel::settings() const
{
    using renaming::Operation;
    renaming::RenameSettings s;
    const std::pair<QRadioButton *, Operation> options[] = {
        {Option1, Operation::Supprimer},      {Option2, Operation::Remplacer},
        {Option3, Operation::Lettrage},       {Option4, Operation::Inverser},
        {Option5, Operation::Manuellement},   {Option6, Operation::Ajouter},
        {optDapresTag, Operation::DapresTag},
    };
    for (const auto &[option, operation] : options) {
        if (option->isChecked())
            s.operation = operation;
    }
    s.nombre = Combo1->currentText().toInt();
    s.position = Combo2->currentText().toInt();
    s.recherche = Text1->text();
    s.remplacement = Combo3->currentText();
    s.lettrageNom = qMax(0, Combo4->currentIndex());
    s.lettrageExt = qMax(0, Combo5->currentIndex());
    s.inversion = qMax(0, Combo6->currentIndex());
    s.nomManuel = Text2->text();
    s.avant = Text6->text();
    s.apres = Text7->text();
    s.modele = cboModele->currentText();
    return s;
}

QStringList RenamePanel::patterns() const
{
    QStringList list;
    for (int i = 0; i < cboModele->count(); ++i)
        list.append(cboModele->itemText(i));
    return list;
}

void RenamePanel::setPatterns(const QStringList &patterns)
{
    // Examples until the user has typed patterns of his own.
    const QStringList offered =
        patterns.isEmpty() ? QStringList{QStringLiteral("%artiste% - %titre%"),
                                         QStringLiteral("%piste:2% - %artiste% - %titre%"),
                                         QStringLiteral("%artiste%/%album%/%piste:2% %titre%")}
                           : patterns;
    cboModele->clear();
    cboModele->addItems(offered);
    cboModele->setCurrentIndex(0);
}

void RenamePanel::rememberPattern()
{
    const QString pattern = cboModele->currentText();
    if (pattern.isEmpty())
        return;
    QStringList list = patterns();
    list.removeAll(pattern);
    list.prepend(pattern);
    setPatterns(list.mid(0, 10));
    emit patternsChanged(patterns());
}

void RenamePanel::offerManualName(const QString &name)
{
    if (Option5->isChecked())
        Text2->setText(name);
}

} // namespace app
