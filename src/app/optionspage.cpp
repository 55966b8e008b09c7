#include "app/optionspage.h"

#include "app/onlineoptions.h"
#include "app/widgets.h"
#include "cd/accurateripdb.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

namespace app {

namespace {

QHBoxLayout *fieldWithButton(QLineEdit *field, QPushButton *button)
{
    auto *row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

} // namespace

OptionsPage::OptionsPage(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame7"));
    // The tab above names the page; the frame itself stays plain.
    setAccessibleName(tr("Options"));
    setFlat(true);

    TS3 = named<QTabBar>(this, "TS3");
    TS3->addTab(tr("Extraction d'un &CD"));
    TS3->addTab(tr("Ta&ggeur"));
    TS3->addTab(tr("Con&version de fichier"));
    TS3->setExpanding(false);

    Frame9 = named<QGroupBox>(this, "Frame9");
    Frame9->setAccessibleName(tr("Extraction d'un CD"));
    Text3 = named<QLineEdit>(Frame9, "Text3");
    Text3->setAccessibleName(tr("Dossier des pistes extraites"));
    Text3->setReadOnly(true);
    Command5 = named<QPushButton>(Frame9, "Command5", tr("&Parcourir..."));
    Combo8 = named<QComboBox>(Frame9, "Combo8");
    Option7 = named<QRadioButton>(Frame9, "Option7", tr("ID3 v&1 seulement"));
    Option8 = named<QRadioButton>(Frame9, "Option8", tr("ID3 v&2 seulement"));
    Option9 = named<QRadioButton>(Frame9, "Option9", tr("&ID3 v1 et ID3 v2"));
    Option10 = named<QRadioButton>(Frame9, "Option10", tr("Pa&s de tag"));
    auto *tagGroup = new QButtonGroup(Frame9);
    for (QRadioButton *option : {Option7, Option8, Option9, Option10})
        tagGroup->addButton(option);
    Check2 = named<QCheckBox>(
        Frame9, "Check2",
        tr("Prendre le &nom de l'artiste dans le titre CDDB (« Artiste - Titre »)"));

    auto *tags = new QGroupBox(tr("Tags des pistes extraites"), Frame9);
    auto *tagsLayout = new QVBoxLayout(tags);
    for (QRadioButton *option : {Option7, Option8, Option9, Option10})
        tagsLayout->addWidget(option);
    auto *form9 = new QFormLayout;
    form9->addRow(tr("Dossier des pistes extraites :"), fieldWithButton(Text3, Command5));
    form9->addRow(tr("Nom des fichiers :"), Combo8);
    txtEmailCddb = named<QLineEdit>(Frame9, "txtEmailCddb");
    form9->addRow(tr("Adresse e-mail (CDDB) :"), txtEmailCddb);
    chkExtractionSecurisee =
        named<QCheckBox>(Frame9, "chkExtractionSecurisee", tr("Extraction séc&urisée"));
    chkExtractionSecurisee->setChecked(true);
    chkExtractionSecurisee->setToolTip(
        tr("Relit et compare chaque secteur ; plus lent, mais exact"));
    spnDecalage = named<QSpinBox>(Frame9, "spnDecalage");
    spnDecalage->setRange(-cd::maxOffsetSamples, cd::maxOffsetSamples);
    spnDecalage->setSuffix(tr(" échantillons"));
    txtAccurateRip = named<QLineEdit>(Frame9, "txtAccurateRip");
    txtAccurateRip->setPlaceholderText(cd::accurateRipDefaultUrl());
    cboEncodage = named<QComboBox>(Frame9, "cboEncodage");
    cboEncodage->addItem(tr("Débit constant (128 kbit/s)"));
    for (int q = 0; q <= 9; ++q)
        cboEncodage->addItem(tr("Débit variable V%1").arg(q));
    chkTrameLame = named<QCheckBox>(Frame9, "chkTrameLame",
                                    tr("Écrire la trame d'information LAME (lecture sans &blanc)"));
    chkJournal = named<QCheckBox>(Frame9, "chkJournal",
                                  tr("Écrire un &journal et une feuille .cue à côté des pistes"));
    chkReplayGain = named<QCheckBox>(
        Frame9, "chkReplayGain", tr("Écrire le Repla&yGain des pistes MP3 et FLAC et du disque"));
    chkPisteCachee =
        named<QCheckBox>(Frame9, "chkPisteCachee",
                         tr("Extraire la piste cac&hée avant la piste 1, s'il y en a une"));
    chkEjecter = named<QCheckBox>(Frame9, "chkEjecter", tr("&Éjecter le disque à la fin"));
    form9->addRow(tr("Décalage de lecture du lecteur :"), spnDecalage);
    form9->addRow(tr("Adresse AccurateRip :"), txtAccurateRip);
    form9->addRow(tr("Encodage MP3 :"), cboEncodage);
    spnNiveauFlac = named<QSpinBox>(Frame9, "spnNiveauFlac");
    spnNiveauFlac->setRange(0, 8);
    spnNiveauFlac->setValue(cd::defaultFlacLevel);
    spnNiveauFlac->setToolTip(tr("De 0, le plus rapide, à 8, les fichiers les plus petits ; "
                                 "le son est le même à tous les niveaux."));
    form9->addRow(tr("Compression FLAC :"), spnNiveauFlac);
    const QString patternHelp =
        tr("Sous le dossier des pistes extraites, avec les champs %artiste% %album% %annee% "
           "%genre%, par exemple FLAC/%artiste%/%album% ; vide : le dossier même.");
    for (auto [field, name, label] :
         {std::tuple{&txtDossierMp3, "txtDossierMp3", QT_TR_NOOP("Dossier des MP3 :")},
          {&txtDossierFlac, "txtDossierFlac", QT_TR_NOOP("Dossier des FLAC :")},
          {&txtDossierWav, "txtDossierWav", QT_TR_NOOP("Dossier des WAV :")}}) {
        *field = named<QLineEdit>(Frame9, name);
        (*field)->setToolTip(patternHelp);
        form9->addRow(tr(label), *field);
    }
    chkListeLecture = named<QCheckBox>(Frame9, "chkListeLecture",
                                       tr("Créer une liste &de lecture .m3u8 par format"));
    chkListeLecture->setChecked(true);
    auto *layout9 = new QVBoxLayout(Frame9);
    layout9->addLayout(form9);
    layout9->addWidget(chkExtractionSecurisee);
    layout9->addWidget(chkTrameLame);
    layout9->addWidget(chkJournal);
    layout9->addWidget(chkReplayGain);
    layout9->addWidget(chkListeLecture);
    layout9->addWidget(chkPisteCachee);
    layout9->addWidget(chkEjecter);
    layout9->addWidget(tags);
    layout9->addWidget(Check2);
    onlineOptions = new OnlineOptions(Frame9);
    layout9->addWidget(onlineOptions);
    layout9->addStretch();

    Frame10 = named<QGroupBox>(this, "Frame10");
    Frame10->setAccessibleName(tr("Taggeur"));
    Text8 = named<QLineEdit>(Frame10, "Text8");
    Text8->setAccessibleName(tr("Commentaire par défaut"));
    Command7 = named<QPushButton>(Frame10, "Command7", tr("E&nregistrer"));
    Text9 = named<QLineEdit>(Frame10, "Text9");
    Text9->setAccessibleName(tr("Encodé par, par défaut"));
    Command8 = named<QPushButton>(Frame10, "Command8", tr("Enreg&istrer"));
    auto *form10 = new QFormLayout;
    form10->addRow(tr("Commentaire par défaut :"), fieldWithButton(Text8, Command7));
    form10->addRow(tr("Encodé par :"), fieldWithButton(Text9, Command8));
    auto *layout10 = new QVBoxLayout(Frame10);
    layout10->addLayout(form10);
    auto *note = new QLabel(tr("Quand ils ne sont pas vides, ces textes remplacent le commentaire "
                               "et le champ « Encodé par » de chaque tag enregistré."),
                            Frame10);
    note->setWordWrap(true);
    layout10->addWidget(note);
    // Off: a version 2.4 tag stays version 2.4, as today's taggers write it.
    chkTagsV23 =
        named<QCheckBox>(Frame10, "chkTagsV23", tr("Écrire les tags ID3v2 en version &2.3"));
    chkTagsV23->setToolTip(tr("Pour les lecteurs anciens qui ne lisent pas la version 2.4 : "
                              "chaque tag enregistré est converti en version 2.3."));
    layout10->addWidget(chkTagsV23);
    chkRva2 =
        named<QCheckBox>(Frame10, "chkRva2", tr("Écrire aussi le ReplayGain en tra&mes RVA2"));
    chkRva2->setToolTip(tr("« Calculer le ReplayGain » et les extractions MP3 écrivent alors "
                           "aussi les trames RVA2 « track » et « album », que lisent certains "
                           "lecteurs."));
    layout10->addWidget(chkRva2);
    // The questions a user may have silenced with "Ne plus demander" come back from here.
    chkConfirmerEnregistrement = named<QCheckBox>(Frame10, "chkConfirmerEnregistrement",
                                                  tr("Demander avant d'enregistrer &un tag"));
    chkConfirmerQuitter =
        named<QCheckBox>(Frame10, "chkConfirmerQuitter", tr("Demander avant de &quitter"));
    layout10->addWidget(chkConfirmerEnregistrement);
    layout10->addWidget(chkConfirmerQuitter);
    layout10->addStretch();

    Frame11 = named<QGroupBox>(this, "Frame11");
    Frame11->setAccessibleName(tr("Conversion de fichier"));
    Text5 = named<QLineEdit>(Frame11, "Text5");
    Text5->setAccessibleName(tr("Dossier des fichiers convertis"));
    Text5->setReadOnly(true);
    Command6 = named<QPushButton>(Frame11, "Command6", tr("&Parcourir..."));
    auto *form11 = new QFormLayout;
    form11->addRow(tr("Dossier des fichiers convertis :"), fieldWithButton(Text5, Command6));
    auto *layout11 = new QVBoxLayout(Frame11);
    layout11->addLayout(form11);
    auto *howTo =
        new QLabel(tr("Pour convertir des fichiers WAV en MP3 : sur la page « Tag et noms », "
                      "choisissez le type *.wav, cochez les fichiers, puis cliquez sur "
                      "« Convertir en MP3 »."),
                   Frame11);
    howTo->setWordWrap(true);
    layout11->addWidget(howTo);
    layout11->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TS3);
    // Each sub-page scrolls when the window is too small for its settings, rather than
    // squeezing them over one another.
    for (QGroupBox *frame : {Frame9, Frame10, Frame11}) {
        auto *scroll = new QScrollArea(this);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(frame);
        scroll->setAccessibleName(frame->accessibleName());
        m_subPages.append(scroll);
        layout->addWidget(scroll, 1);
    }
    showSubPage(0);
}

void OptionsPage::showSubPage(int page)
{
    for (int i = 0; i < m_subPages.size(); ++i) {
        m_subPages[i]->setVisible(i == page);
        m_subPages[i]->widget()->setVisible(i == page);
    }
}

QString OptionsPage::trackFolder() const
{
    return Text3->text();
}

QString OptionsPage::convertedFolder() const
{
    return Text5->text();
}

int OptionsPage::fileNameFormat() const
{
    return Combo8->currentIndex();
}

bool OptionsPage::artistFromTitles() const
{
    return Check2->isChecked();
}

cd::TagOption OptionsPage::tagOption() const
{
    if (Option7->isChecked())
        return cd::TagOption::V1;
    if (Option9->isChecked())
        return cd::TagOption::V1AndV2;
    if (Option10->isChecked())
        return cd::TagOption::None;
    return cd::TagOption::V2;
}

cd::RipOptions OptionsPage::ripOptions() const
{
    return {chkExtractionSecurisee->isChecked(), spnDecalage->value()};
}

cd::EncoderConfig OptionsPage::encoderConfig() const
{
    cd::EncoderConfig config = cd::cdTrackEncoderConfig();
    // The first entry is the constant rate; the others are V0 to V9.
    config.vbrQuality = cboEncodage->currentIndex() - 1;
    config.infoFrame = chkTrameLame->isChecked();
    return config;
}

QString OptionsPage::accurateRipUrl() const
{
    const QString url = txtAccurateRip->text().trimmed();
    return url.isEmpty() ? cd::accurateRipDefaultUrl() : url;
}

bool OptionsPage::writeRipLog() const
{
    return chkJournal->isChecked();
}

bool OptionsPage::ripHiddenTrack() const
{
    return chkPisteCachee->isChecked();
}

bool OptionsPage::ejectAtEnd() const
{
    return chkEjecter->isChecked();
}

bool OptionsPage::writeRipGain() const
{
    return chkReplayGain->isChecked();
}

int OptionsPage::flacLevel() const
{
    return spnNiveauFlac->value();
}

QMap<cd::AudioFormat, QString> OptionsPage::folderPatterns() const
{
    QMap<cd::AudioFormat, QString> patterns;
    for (const auto &[format, field] : {std::pair{cd::AudioFormat::Mp3, txtDossierMp3},
                                        {cd::AudioFormat::Flac, txtDossierFlac},
                                        {cd::AudioFormat::Wav, txtDossierWav}}) {
        if (const QString pattern = field->text().trimmed(); !pattern.isEmpty())
            patterns.insert(format, pattern);
    }
    return patterns;
}

bool OptionsPage::writePlaylists() const
{
    return chkListeLecture->isChecked();
}

QString OptionsPage::defaultComment() const
{
    return Text8->text();
}

QString OptionsPage::defaultEncoder() const
{
    return Text9->text();
}

bool OptionsPage::writeRva2() const
{
    return chkRva2->isChecked();
}

bool OptionsPage::writeTagsV23() const
{
    return chkTagsV23->isChecked();
}

online::LookupSettings OptionsPage::lookupSettings() const
{
    return onlineOptions->lookupSettings(txtEmailCddb->text());
}

} // namespace app
