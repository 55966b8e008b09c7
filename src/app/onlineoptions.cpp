#include "app/onlineoptions.h"

#include "app/widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace app {

OnlineOptions::OnlineOptions(QWidget *parent)
    : QGroupBox(tr("Recherche du disque en ligne"), parent)
{
    setObjectName(QStringLiteral("fraRechercheEnLigne"));
    cboServiceDisque = named<QComboBox>(this, "cboServiceDisque");
    // In the order of online::DiscService.
    cboServiceDisque->addItems({tr("MusicBrainz"), QStringLiteral("CDDB"),
                                tr("MusicBrainz puis CDDB"), tr("CD-Text du disque seul")});
    txtServeurMusicBrainz = named<QLineEdit>(this, "txtServeurMusicBrainz");
    txtServeurPochettes = named<QLineEdit>(this, "txtServeurPochettes");
    spnPochetteMaxKo = named<QSpinBox>(this, "spnPochetteMaxKo");
    spnPochetteMaxKo->setRange(16, 16 * 1024);
    spnPochetteMaxKo->setSuffix(tr(" Ko"));
    cboProtocoleCddb = named<QComboBox>(this, "cboProtocoleCddb");
    txtServeurAcoustId = named<QLineEdit>(this, "txtServeurAcoustId");
    txtCleAcoustId = named<QLineEdit>(this, "txtCleAcoustId");
    cboProtocoleCddb->addItem(tr("6 (UTF-8)"), 6);
    cboProtocoleCddb->addItem(tr("5 (anciens serveurs)"), 5);

    auto *form = new QFormLayout(this);
    form->addRow(tr("Service :"), cboServiceDisque);
    form->addRow(tr("Serveur MusicBrainz :"), txtServeurMusicBrainz);
    form->addRow(tr("Serveur des pochettes :"), txtServeurPochettes);
    form->addRow(tr("Taille maximale d'une pochette :"), spnPochetteMaxKo);
    form->addRow(tr("Protocole CDDB :"), cboProtocoleCddb);
    form->addRow(tr("Serveur AcoustID :"), txtServeurAcoustId);
    form->addRow(tr("Clé AcoustID :"), txtCleAcoustId);
    setLookupSettings({});
}

online::LookupSettings OnlineOptions::lookupSettings(const QString &email) const
{
    online::LookupSettings settings;
    settings.service = online::DiscService(cboServiceDisque->currentIndex());
    settings.musicBrainzUrl = txtServeurMusicBrainz->text().trimmed();
    settings.coverUrl = txtServeurPochettes->text().trimmed();
    settings.coverMaxBytes = qint64(spnPochetteMaxKo->value()) * 1024;
    settings.cddbProtocol = cboProtocoleCddb->currentData().toInt();
    settings.email = email.trimmed();
    settings.acoustIdUrl = txtServeurAcoustId->text().trimmed();
    settings.acoustIdKey = txtCleAcoustId->text().trimmed();
    return settings;
}

void OnlineOptions::setLookupSettings(const online::LookupSettings &settings)
{
    cboServiceDisque->setCurrentIndex(int(settings.service));
    txtServeurMusicBrainz->setText(settings.musicBrainzUrl);
    txtServeurPochettes->setText(settings.coverUrl);
    spnPochetteMaxKo->setValue(int(settings.coverMaxBytes / 1024));
    cboProtocoleCddb->setCurrentIndex(cboProtocoleCddb->findData(settings.cddbProtocol));
    txtServeurAcoustId->setText(settings.acoustIdUrl);
    txtCleAcoustId->setText(settings.acoustIdKey);
}

} // namespace app
