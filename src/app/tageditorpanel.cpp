#include "app/tageditorpanel.h"

#include "app/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace app {

namespace {

void setFieldBackground(QWidget *field, bool enabled)
{
    QPalette palette = field->palette();
    const QColor colour = enabled ? field->style()->standardPalette().color(QPalette::Base)
                                  : field->style()->standardPalette().color(QPalette::Button);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    field->setPalette(palette);
}

QLineEdit *shortField(QLineEdit *field, int width)
{
    field->setMaximumWidth(width);
    return field;
}

} // namespace

TagEditorPanel::TagEditorPanel(QWidget *frameParent)
    : QObject(frameParent)
{
    setObjectName(QStringLiteral("TagEditorPanel"));
    buildV1(frameParent);
    buildV2(frameParent);
    connect(chkv1, &QCheckBox::clicked, this, [this] { enableVersion(1); });
    connect(chkv2, &QCheckBox::clicked, this, [this] { enableVersion(2); });
}

void TagEditorPanel::buildV1(QWidget *frameParent)
{
    Frame2 = named<QGroupBox>(frameParent, "Frame2", QStringLiteral("ID3 v1"));
    chkv1 = named<QCheckBox>(Frame2, "chkv1", QStringLiteral("Tag ID3 v1"));
    txtv1Piste = shortField(named<QLineEdit>(Frame2, "txtv1Piste"), 60);
    txtv1Titre = named<QLineEdit>(Frame2, "txtv1Titre");
    txtv1Artiste = named<QLineEdit>(Frame2, "txtv1Artiste");
    txtv1Album = named<QLineEdit>(Frame2, "txtv1Album");
    txtv1Annee = shortField(named<QLineEdit>(Frame2, "txtv1Annee"), 80);
    cmbv1Genre = named<QComboBox>(Frame2, "cmbv1Genre");
    txtv1Commentaire = named<QLineEdit>(Frame2, "txtv1Commentaire");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Piste :"), txtv1Piste);
    form->addRow(QStringLiteral("Titre :"), txtv1Titre);
    form->addRow(QStringLiteral("Artiste :"), txtv1Artiste);
    form->addRow(QStringLiteral("Album :"), txtv1Album);
    form->addRow(QStringLiteral("Année :"), txtv1Annee);
    form->addRow(QStringLiteral("Genre :"), cmbv1Genre);
    form->addRow(QStringLiteral("Commentaire :"), txtv1Commentaire);
    auto *layout = new QVBoxLayout(Frame2);
    layout->addWidget(chkv1);
    layout->addLayout(form);
    layout->addStretch();
}

void TagEditorPanel::buildV2(QWidget *frameParent)
{
    Frame5 = named<QGroupBox>(frameParent, "Frame5", QStringLiteral("ID3 v2"));
    chkv2 = named<QCheckBox>(Frame5, "chkv2", QStringLiteral("Tag ID3 v2"));
    txtv2Piste = shortField(named<QLineEdit>(Frame5, "txtv2Piste"), 60);
    txtv2Titre = named<QLineEdit>(Frame5, "txtv2Titre");
    txtv2Artiste = named<QLineEdit>(Frame5, "txtv2Artiste");
    txtv2Album = named<QLineEdit>(Frame5, "txtv2Album");
    txtv2Annee = shortField(named<QLineEdit>(Frame5, "txtv2Annee"), 80);
    cmbv2Genre = named<QComboBox>(Frame5, "cmbv2Genre");
    txtv2Commentaire = named<QTextEdit>(Frame5, "txtv2Commentaire");
    txtv2Commentaire->setAcceptRichText(false);
    txtv2Commentaire->setFixedHeight(txtv2Commentaire->fontMetrics().lineSpacing() * 4);
    txtv2Compositeur = named<QLineEdit>(Frame5, "txtv2Compositeur");
    txtv2Original = named<QLineEdit>(Frame5, "txtv2Original");
    txtv2Copyright = named<QLineEdit>(Frame5, "txtv2Copyright");
    txtv2Url = named<QLineEdit>(Frame5, "txtv2Url");
    txtv2Encode = named<QLineEdit>(Frame5, "txtv2Encode");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Piste :"), txtv2Piste);
    form->addRow(QStringLiteral("Titre :"), txtv2Titre);
    form->addRow(QStringLiteral("Artiste :"), txtv2Artiste);
    form->addRow(QStringLiteral("Album :"), txtv2Album);
    form->addRow(QStringLiteral("Année :"), txtv2Annee);
    form->addRow(QStringLiteral("Genre :"), cmbv2Genre);
    form->addRow(QStringLiteral("Commentaire :"), txtv2Commentaire);
    form->addRow(QStringLiteral("Compositeur :"), txtv2Compositeur);
    form->addRow(QStringLiteral("Artiste original :"), txtv2Original);
    form->addRow(QStringLiteral("Copyright :"), txtv2Copyright);
    form->addRow(QStringLiteral("URL :"), txtv2Url);
    form->addRow(QStringLiteral("Encodé par :"), txtv2Encode);
    auto *layout = new QVBoxLayout(Frame5);
    layout->addWidget(chkv2);
    layout->addLayout(form);
    layout->addStretch();
}

QList<QWidget *> TagEditorPanel::fieldsV1() const
{
    return {txtv1Piste, txtv1Titre, txtv1Artiste, txtv1Album, txtv1Annee, cmbv1Genre, txtv1Commentaire};
}

QList<QWidget *> TagEditorPanel::fieldsV2() const
{
    return {txtv2Piste, txtv2Titre, txtv2Artiste, txtv2Album, txtv2Annee, cmbv2Genre,
            txtv2Commentaire, txtv2Compositeur, txtv2Original, txtv2Copyright, txtv2Url, txtv2Encode};
}

void TagEditorPanel::enableVersion(int version)
{
    const bool on = version == 1 ? chkv1->isChecked() : chkv2->isChecked();
    for (QWidget *field : version == 1 ? fieldsV1() : fieldsV2()) {
        field->setEnabled(on);
        setFieldBackground(field, on);
    }
}

void TagEditorPanel::remsezerotag()
{
    cmbv1Genre->clear();
    cmbv2Genre->clear();
    for (QWidget *field : fieldsV1() + fieldsV2()) {
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        else if (auto *text = qobject_cast<QTextEdit *>(field))
            text->clear();
    }
    cmbv1Genre->setCurrentText(QString());
    cmbv2Genre->setCurrentText(QString());
}

} // namespace app
