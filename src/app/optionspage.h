#pragma once

#include "cd/extractionjob.h"
#include "online/discservice.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabBar;

namespace app {

class OnlineOptions;

// The page "Options" (Frame7): the tab strip TS3 over "Extraction d'un CD" (Frame9), "Taggeur"
// (Frame10) and "Conversion de fichier" (Frame11). Every control mirrors one stored setting.
class OptionsPage : public QGroupBox
{
    Q_OBJECT
public:
    explicit OptionsPage(QWidget *parent = nullptr);

    QTabBar *TS3;

    QGroupBox *Frame9;
    QLineEdit *Text3;        // folder of extracted tracks
    QLineEdit *txtEmailCddb; // "Adresse e-mail (CDDB)": names the user to the CDDB server
    QPushButton *Command5;
    QComboBox *Combo8;                 // file-name format
    QRadioButton *Option7;             // tag with v1 only
    QRadioButton *Option8;             // v2 only
    QRadioButton *Option9;             // v1 and v2
    QRadioButton *Option10;            // no tag
    QCheckBox *Check2;                 // artist from the CDDB title
    QCheckBox *chkExtractionSecurisee; // "Extraction sécurisée": re-reads through cdparanoia
    QSpinBox *spnDecalage;             // the drive's read offset, in samples
    QLineEdit *txtAccurateRip;         // address of the AccurateRip database
    QComboBox *cboEncodage;            // constant 128 kbit/s, or LAME's VBR V0 to V9
    QCheckBox *chkTrameLame;           // write the LAME/Xing information frame
    QCheckBox *chkJournal;             // write a log and a cue sheet beside the tracks
    QCheckBox *chkReplayGain;          // write the ReplayGain of ripped MP3 and FLAC tracks
    QSpinBox *spnNiveauFlac;           // FLAC compression level, 0 to 8
    QLineEdit *txtDossierMp3;          // folder pattern of each format below Text3
    QLineEdit *txtDossierFlac;
    QLineEdit *txtDossierWav;
    QCheckBox *chkListeLecture;   // an .m3u8 playlist per format
    QCheckBox *chkPisteCachee;    // rip the sound hidden before track 1
    QCheckBox *chkEjecter;        // eject the disc once a rip is done
    OnlineOptions *onlineOptions; // service, addresses and limits of the online lookup

    QGroupBox *Frame10;
    QLineEdit *Text8; // default comment
    QPushButton *Command7;
    QLineEdit *Text9; // default encoded-by
    QPushButton *Command8;
    QCheckBox *chkTagsV23;                 // every ID3v2 tag saved written as version 2.3
    QCheckBox *chkRva2;                    // the ReplayGain written as RVA2 frames too
    QCheckBox *chkConfirmerEnregistrement; // ask before a tag save
    QCheckBox *chkConfirmerQuitter;        // ask before quitting

    QGroupBox *Frame11;
    QLineEdit *Text5; // folder of converted files
    QPushButton *Command6;

    void showSubPage(int page);

    // What the controls mean, for the parts of the window that read them.
    QString trackFolder() const;     // Text3
    QString convertedFolder() const; // Text5
    int fileNameFormat() const;      // Combo8
    bool artistFromTitles() const;   // Check2
    // Option7 to Option10; with none chosen (a settings file edited by hand), ID3v2.
    cd::TagOption tagOption() const;
    cd::RipOptions ripOptions() const;       // chkExtractionSecurisee, spnDecalage
    cd::EncoderConfig encoderConfig() const; // cboEncodage, chkTrameLame
    QString accurateRipUrl() const;          // txtAccurateRip, the default when empty
    bool writeRipLog() const;                // chkJournal
    bool writeRipGain() const;               // chkReplayGain
    int flacLevel() const;                   // spnNiveauFlac
    // txtDossierMp3, txtDossierFlac, txtDossierWav: the non-empty ones.
    QMap<cd::AudioFormat, QString> folderPatterns() const;
    bool writePlaylists() const;                   // chkListeLecture
    bool ripHiddenTrack() const;                   // chkPisteCachee
    bool ejectAtEnd() const;                       // chkEjecter
    QString defaultComment() const;                // Text8
    QString defaultEncoder() const;                // Text9
    bool writeTagsV23() const;                     // chkTagsV23
    bool writeRva2() const;                        // chkRva2
    online::LookupSettings lookupSettings() const; // onlineOptions, txtEmailCddb

private:
    QList<QScrollArea *> m_subPages; // Frame9, Frame10, Frame11
};

} // namespace app
