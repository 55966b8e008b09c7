#include "app/cdpage.h"

#include "app/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

CdPage::CdPage(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame6"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(tr("Extraire CD"));
    setFlat(true);

    cboLecteurCD = named<QComboBox>(this, "cboLecteurCD");
    cboLecteurCD->setMinimumContentsLength(24);
    cboLecteurCD->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    LV2 = named<QTreeWidget>(this, "LV2");
    LV2->setAccessibleName(tr("Pistes du disque"));
    LV2->setHeaderLabels({tr("Pistes")});
    LV2->setRootIsDecorated(false);
    LV2->setUniformRowHeights(true);
    // A track's title can be typed (F2 or a double click) before the extraction, which names
    // and tags the file with it; rows come from the disc or from a CDDB answer.
    LV2->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(LV2->model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                for (int i = first; i <= last; ++i) {
                    QTreeWidgetItem *row = LV2->topLevelItem(i);
                    row->setFlags(row->flags() | Qt::ItemIsEditable);
                }
            });
    Command3 = named<QPushButton>(this, "Command3", tr("Tout sele&ctionner"));
    Command4 = named<QPushButton>(this, "Command4", tr("Tout &deselectionner"));
    connect(Command3, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(Command4, &QPushButton::clicked, this, [this] { setAllChecked(false); });

    txtArtiste = named<QLineEdit>(this, "txtArtiste");
    txtAlbum = named<QLineEdit>(this, "txtAlbum");
    txtAnnee = named<QLineEdit>(this, "txtAnnée");
    txtAnnee->setMaximumWidth(80);
    txtGenre = named<QComboBox>(this, "txtGenre");
    txtGenre->setEditable(true); // a CDDB genre need not be one of the list
    txtGenre->setAccessibleName(tr("Genre du disque"));
    txtGenre->lineEdit()->setAccessibleName(txtGenre->accessibleName());

    txtRecu = named<QPlainTextEdit>(this, "txtRecu");
    txtRecu->setReadOnly(true);
    txtRecu->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtRecu->hide();
    btnDetails = named<QPushButton>(this, "btnDetails", tr("Déta&ils"));
    btnDetails->setCheckable(true);
    connect(btnDetails, &QPushButton::toggled, txtRecu, &QWidget::setVisible);
    lblEtatRecherche = named<QLabel>(this, "lblEtatRecherche");
    lblEtatRecherche->setWordWrap(true);
    lblEtatRecherche->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblEtatRecherche->setOpenExternalLinks(true); // the submission page opens in the browser
    imgPochette = named<QLabel>(this, "imgPochette");
    imgPochette->setAlignment(Qt::AlignCenter);
    imgPochette->hide();
    // A cover belongs to the disc it was found for.
    connect(cboLecteurCD, &QComboBox::currentTextChanged, this, [this] { setCover({}); });
    m_coverFile.setFileTemplate(QDir::tempPath() + QStringLiteral("/tarvex-pochette-XXXXXX.jpg"));
    btnChoisirSite = named<QPushButton>(this, "btnChoisirSite", tr("Liste des &Sites"));
    btnAnnulerSite = named<QPushButton>(this, "btnAnnulerSite", tr("A&nnuler"));
    btnAnnulerSite->hide();
    fraCategorie = named<QGroupBox>(this, "fraCatégorie", tr("Plusieurs disques correspondent"));
    lstCategories = named<QListWidget>(fraCategorie, "lstCategories");
    lstCategories->setAccessibleName(tr("Disques trouvés"));
    btnOkSelCategorie = named<QPushButton>(fraCategorie, "btnOkSelCategorie", tr("O&k"));
    btnAnnulerCategorie = named<QPushButton>(fraCategorie, "btnAnnulerCategorie", tr("Ann&uler"));
    auto *choice = new QVBoxLayout(fraCategorie);
    choice->addWidget(lstCategories);
    auto *choiceButtons = new QHBoxLayout;
    choiceButtons->addStretch();
    choiceButtons->addWidget(btnOkSelCategorie);
    choiceButtons->addWidget(btnAnnulerCategorie);
    choice->addLayout(choiceButtons);
    fraCategorie->hide();

    auto *drive = new QHBoxLayout;
    auto *driveLabel = new QLabel(tr("Lecteur :"), this);
    driveLabel->setBuddy(cboLecteurCD);
    drive->addWidget(driveLabel);
    drive->addWidget(cboLecteurCD, 1);

    lblAucunLecteur = named<QLabel>(this, "lblAucunLecteur");
    lblAucunLecteur->setText(tr("Désolé, je n'ai pas détecté de lecteur de CD sur cette "
                                "machine. Un lecteur branché apparaîtra ici de lui-même."));
    lblAucunLecteur->setWordWrap(true);
    lblAucunLecteur->setAlignment(Qt::AlignCenter);

    auto *tracks = new QVBoxLayout;
    tracks->addLayout(drive);
    tracks->addWidget(LV2, 1);
    tracks->addWidget(lblAucunLecteur, 1);
    auto *checks = new QHBoxLayout;
    checks->addWidget(Command3);
    checks->addWidget(Command4);
    checks->addStretch();
    tracks->addLayout(checks);
    lblProgression = named<QLabel>(this, "lblProgression");
    cmdAnnuler = named<QPushButton>(this, "cmdAnnuler", tr("A&nnuler"));
    cmdAnnuler->setToolTip(
        tr("Arrête l'extraction après la lecture en cours et supprime le fichier "
           "inachevé"));
    auto *job = new QHBoxLayout;
    job->addWidget(lblProgression, 1);
    job->addWidget(cmdAnnuler);
    tracks->addLayout(job);
    lblProgression->hide();
    cmdAnnuler->hide();

    auto *disc = new QGroupBox(tr("Disque"), this);
    auto *form = new QFormLayout(disc);
    form->addRow(tr("Artiste :"), txtArtiste);
    form->addRow(tr("Album :"), txtAlbum);
    form->addRow(tr("Année :"), txtAnnee);
    form->addRow(tr("Genre :"), txtGenre);

    auto *cddb = new QGroupBox(tr("Recherche en ligne"), this);
    auto *cddbLayout = new QVBoxLayout(cddb);
    cddbLayout->addWidget(lblEtatRecherche);
    cddbLayout->addWidget(txtRecu, 1);
    auto *siteButtons = new QHBoxLayout;
    siteButtons->addWidget(btnDetails);
    siteButtons->addWidget(btnChoisirSite);
    siteButtons->addWidget(btnAnnulerSite);
    siteButtons->addStretch();
    cddbLayout->addLayout(siteButtons);

    auto *side = new QVBoxLayout;
    side->addWidget(disc);
    side->addWidget(imgPochette);
    side->addWidget(fraCategorie);
    side->addWidget(cddb, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(tracks, 1);
    layout->addLayout(side, 1);
    showDrivesFound(false);
}

QStringList CdPage::drives() const
{
    QStringList listed;
    for (int i = 0; i < cboLecteurCD->count(); ++i)
        listed.append(cboLecteurCD->itemText(i));
    return listed;
}

void CdPage::setDrives(const QStringList &drives)
{
    const QString chosen = cboLecteurCD->currentText();
    if (!chosen.isEmpty() && !drives.contains(chosen))
        cboLecteurCD->setCurrentIndex(-1); // the disc read from it is gone too
    {
        // The chosen drive stays chosen without being read again: its disc and the disc fields
        // the user typed are kept.
        const QSignalBlocker block(cboLecteurCD);
        cboLecteurCD->clear();
        cboLecteurCD->addItems(drives);
        cboLecteurCD->setCurrentIndex(int(drives.indexOf(chosen)));
    }
    if (cboLecteurCD->currentIndex() < 0 && !drives.isEmpty())
        cboLecteurCD->setCurrentIndex(0);
    showDrivesFound(!drives.isEmpty());
}

void CdPage::showDrivesFound(bool found)
{
    LV2->setVisible(found);
    lblAucunLecteur->setVisible(!found);
    for (QWidget *control : {static_cast<QWidget *>(cboLecteurCD), static_cast<QWidget *>(Command3),
                             static_cast<QWidget *>(Command4)})
        control->setEnabled(found);
}

void CdPage::setCover(const QByteArray &jpeg)
{
    QPixmap picture;
    m_cover = picture.loadFromData(jpeg, "JPEG") ? jpeg : QByteArray();
    // The tag writer embeds a picture from a ".jpg" file.
    if (!m_cover.isEmpty() &&
        !(m_coverFile.open() && m_coverFile.resize(0) &&
          m_coverFile.write(m_cover) == m_cover.size() && m_coverFile.flush()))
        m_cover.clear();
    imgPochette->setPixmap(
        picture.isNull() ? QPixmap()
                         : picture.scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgPochette->setVisible(!m_cover.isEmpty());
}

void CdPage::resetStatusColumns()
{
    LV2->setColumnCount(3);
    LV2->setHeaderLabels({tr("Pistes"), tr("État"), tr("AccurateRip")});
    for (int i = 0; i < LV2->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = LV2->topLevelItem(i);
        for (int column : {Etat, AccurateRip}) {
            row->setText(column, QString());
            row->setData(column, Qt::ForegroundRole, QVariant());
        }
    }
}

void CdPage::setStatus(int row, StatusColumn column, const QString &text, const QColor &colour)
{
    if (QTreeWidgetItem *item = LV2->topLevelItem(row)) {
        item->setText(column, text);
        item->setForeground(column, colour);
    }
}

void CdPage::setAllChecked(bool checked)
{
    for (int i = 0; i < LV2->topLevelItemCount(); ++i)
        LV2->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

int CdPage::genreListPosition() const
{
    return txtGenre->findText(txtGenre->currentText());
}

void CdPage::setDiscFieldsReadOnly(bool readOnly)
{
    for (QLineEdit *field : {txtArtiste, txtAlbum, txtAnnee, txtGenre->lineEdit()})
        field->setReadOnly(readOnly);
}

} // namespace app
