#include "app/tageditorpanel.h"

#include "app/widgets.h"
#include "tags/genres.h"
#include "tags/zelltagctrl.h"

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
    Frame2 = named<QGroupBox>(frameParent, "Frame2");
    Frame2->setAccessibleName(QStringLiteral("ID3 v1"));
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
    Frame5 = named<QGroupBox>(frameParent, "Frame5");
    Frame5->setAccessibleName(QStringLiteral("ID3 v2"));
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

void TagEditorPanel::fillGenreLists()
{
    m_genres.clear();
    tags::ZellTagCtrl().GetGenreListe(m_genres);
    for (QComboBox *combo : {cmbv1Genre, cmbv2Genre}) {
        combo->clear();
        combo->addItems(m_genres);
        combo->setCurrentIndex(0);
    }
}

int TagEditorPanel::genreToListIndex(const QComboBox *combo, int genre) const
{
    if (genre < 0 || genre > tags::LastGenre)
        return 0;
    const QString name = m_genres.value(genre + 1);
    const int last = std::min(combo->count() - 1, tags::LastGenre);
    for (int position = 0; position <= last; ++position) {
        if (combo->itemText(position) == name)
            return position;
    }
    return tags::LastGenre + 1;
}

int TagEditorPanel::listIndexToGenre(const QComboBox *combo) const
{
    const int position = combo->currentIndex();
    if (position <= 0)
        return tags::NoGenre;
    const QString name = combo->itemText(position);
    for (int genre = 0; genre <= tags::LastGenre; ++genre) {
        if (m_genres.value(genre + 1) == name)
            return genre;
    }
    return tags::NoGenre;
}

void TagEditorPanel::showTagsOfFile(const QString &fichier)
{
    fillGenreLists();
    const tags::Result<tags::TagType> read = tags::ZellTagCtrl().GetAllTags(fichier);
    if (!read.ok())
        return;
    const tags::TypeTagV1 &v1 = read->TagV1;
    if (v1.Valide()) {
        chkv1->setChecked(true);
        enableVersion(1);
        txtv1Piste->setText(QString::number(v1.Piste()).trimmed());
        txtv1Titre->setText(v1.Titre());
        txtv1Artiste->setText(v1.Artiste());
        txtv1Album->setText(v1.Album());
        txtv1Annee->setText(v1.Annee());
        cmbv1Genre->setCurrentIndex(genreToListIndex(cmbv1Genre, v1.Genre()));
        txtv1Commentaire->setText(v1.Commentaire());
    }
    const tags::TypeTagV2 &v2 = read->TagV2;
    if (v2.Valide()) {
        chkv2->setChecked(true);
        enableVersion(2);
        txtv2Piste->setText(v2.Piste().trimmed());
        txtv2Titre->setText(v2.Titre());
        txtv2Artiste->setText(v2.Artiste());
        txtv2Album->setText(v2.Album());
        txtv2Annee->setText(v2.Annee());
        cmbv2Genre->setCurrentIndex(genreToListIndex(cmbv2Genre, v2.Genre()));
        txtv2Commentaire->setPlainText(v2.Commentaire());
        txtv2Compositeur->setText(v2.Compositeur());
        txtv2Original->setText(v2.Original());
        txtv2Copyright->setText(v2.Copyright());
        txtv2Url->setText(v2.Url());
        txtv2Encode->setText(v2.Encode());
    }
}

tags::TagType TagEditorPanel::tagsFromFields(const QString &defaultComment, const QString &defaultEncoder) const
{
    tags::TagType record;
    if (chkv1->isChecked()) {
        tags::TypeTagV1 &v1 = record.TagV1;
        v1.setValide(true);
        v1.setPiste(tags::roundToInt16(tags::leadingNumber(txtv1Piste->text())));
        v1.setTitre(txtv1Titre->text());
        v1.setArtiste(txtv1Artiste->text());
        v1.setAlbum(txtv1Album->text());
        v1.setAnnee(txtv1Annee->text());
        v1.setGenre(listIndexToGenre(cmbv1Genre));
        v1.setCommentaire(defaultComment.isEmpty() ? txtv1Commentaire->text() : defaultComment);
    }
    if (chkv2->isChecked()) {
        tags::TypeTagV2 &v2 = record.TagV2;
        v2.setValide(true);
        // The track keeps only its leading number ("7/12" gives "7"); a field without one stays
        // empty rather than becoming track 0.
        const QString track = txtv2Piste->text();
        const double number = tags::leadingNumber(track);
        const bool hasNumber = number != 0.0 || track.trimmed().startsWith(QLatin1Char('0'));
        v2.setPiste(hasNumber ? QString::number(number, 'g', 15) : QString());
        v2.setTitre(txtv2Titre->text());
        v2.setArtiste(txtv2Artiste->text());
        v2.setAlbum(txtv2Album->text());
        v2.setAnnee(txtv2Annee->text());
        v2.setGenre(listIndexToGenre(cmbv2Genre));
        v2.setCommentaire(defaultComment.isEmpty() ? txtv2Commentaire->toPlainText() : defaultComment);
        v2.setCompositeur(txtv2Compositeur->text());
        v2.setOriginal(txtv2Original->text());
        v2.setCopyright(txtv2Copyright->text());
        v2.setUrl(txtv2Url->text());
        v2.setEncode(defaultEncoder.isEmpty() ? txtv2Encode->text() : defaultEncoder);
    }
    return record;
}

tags::Result<bool> TagEditorPanel::BtnUpdate(const QString &fichier, const QString &defaultComment,
                                             const QString &defaultEncoder) const
{
    return tags::ZellTagCtrl().SetAllTags(fichier, tagsFromFields(defaultComment, defaultEncoder));
}

void TagEditorPanel::copyV1FieldsToV2()
{
    chkv2->setChecked(true);
    enableVersion(2);
    txtv2Piste->setText(txtv1Piste->text());
    txtv2Titre->setText(txtv1Titre->text());
    txtv2Artiste->setText(txtv1Artiste->text());
    txtv2Album->setText(txtv1Album->text());
    txtv2Annee->setText(txtv1Annee->text());
    cmbv2Genre->setCurrentIndex(cmbv1Genre->currentIndex());
    txtv2Commentaire->setPlainText(txtv1Commentaire->text());
}

void TagEditorPanel::copyV2FieldsToV1()
{
    chkv1->setChecked(true);
    enableVersion(1);
    txtv1Piste->setText(txtv2Piste->text());
    txtv1Titre->setText(txtv2Titre->text());
    txtv1Artiste->setText(txtv2Artiste->text());
    txtv1Album->setText(txtv2Album->text());
    txtv1Annee->setText(txtv2Annee->text());
    cmbv1Genre->setCurrentIndex(cmbv2Genre->currentIndex());
    txtv1Commentaire->setText(txtv2Commentaire->toPlainText());
}

} // namespace app
