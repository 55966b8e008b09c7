#pragma once

#include "online/discservice.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace app {

// The options of the online lookup, on the page "Extraction d'un CD": which service names the
// disc, the addresses of MusicBrainz and of the covers, the cover size limit and the CDDB
// protocol level; the address of AcoustID and the key it gives its clients.
class OnlineOptions : public QGroupBox
{
    Q_OBJECT
public:
    explicit OnlineOptions(QWidget *parent = nullptr);

    QComboBox *cboServiceDisque;
    QLineEdit *txtServeurMusicBrainz;
    QLineEdit *txtServeurPochettes;
    QSpinBox *spnPochetteMaxKo;
    QComboBox *cboProtocoleCddb;
    QLineEdit *txtServeurAcoustId;
    QLineEdit *txtCleAcoustId;

    // What the controls say; email is the address of the CDDB field beside them.
    online::LookupSettings lookupSettings(const QString &email) const;
    void setLookupSettings(const online::LookupSettings &settings);
};

} // namespace app
