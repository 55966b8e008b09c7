#pragma once

#include <QGroupBox>
#include <QTemporaryFile>

class QColor;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace app {

// The page "Extraire CD" (Frame6): the drive, the disc fields, the track list and the CDDB
// exchange.
class CdPage : public QGroupBox
{
    Q_OBJECT
public:
    explicit CdPage(QWidget *parent = nullptr);

    QComboBox *cboLecteurCD;
    QTreeWidget *LV2;
    QPushButton *Command3; // check every track
    QPushButton *Command4; // uncheck every track
    QLineEdit *txtArtiste;
    QLineEdit *txtAlbum;
    QLineEdit *txtAnnee; // objectName "txtAnnée"
    QComboBox *txtGenre;
    // The position of the genre text in the genre list, -1 for a genre outside it: it follows
    // the text, so the emptied field of a new disc never keeps an earlier disc's genre.
    int genreListPosition() const;
    QPlainTextEdit *txtRecu; // the raw exchange, shown while btnDetails is down
    QPushButton *btnDetails;
    // What the last lookup found or why it found nothing, in a sentence; may hold a link.
    QLabel *lblEtatRecherche;
    QLabel *imgPochette; // the front cover of the chosen release
    // The cover's JPEG bytes, and the file that holds them for the tags of the extracted tracks;
    // both empty for none.
    QByteArray cover() const { return m_cover; }
    QString coverFile() const { return m_cover.isEmpty() ? QString() : m_coverFile.fileName(); }
    void setCover(const QByteArray &jpeg);
    // The MusicBrainz release and artist the disc fields came from, empty when they came from
    // elsewhere; each track row holds its recording's id as Qt::UserRole data. The FLAC
    // comments of a rip take them.
    QString musicBrainzReleaseId;
    QString musicBrainzArtistId;
    QString discNumber; // within the release, empty when unknown
    QPushButton *btnChoisirSite;
    QPushButton *btnAnnulerSite; // shown while a server of the list is to be chosen
    QGroupBox *fraCategorie; // objectName "fraCatégorie"; shown while a choice among matches waits
    QListWidget *lstCategories;
    QPushButton *btnOkSelCategorie;
    QPushButton *btnAnnulerCategorie;

    // Below the track list while a job runs: "Piste 3/12", the time left, and "Annuler".
    QLabel *lblProgression;
    QPushButton *cmdAnnuler;

    // The drives listed in cboLecteurCD, in order.
    QStringList drives() const;
    // Lists these drives, keeping the chosen one while it is there; the first is chosen when
    // the chosen one left or none was, which reads its disc. Without any drive the page says so
    // in place of the track list and its drive controls are off.
    void setDrives(const QStringList &drives);
    QLabel *lblAucunLecteur; // shown while no drive is found

    void setAllChecked(bool checked);
    // The status columns of LV2 that each job fills: what became of the track, and its
    // AccurateRip result.
    enum StatusColumn { Etat = 1, AccurateRip = 2 };
    // Empties the status columns and shows them with their titles.
    void resetStatusColumns();
    // Writes a status cell of a row (from 0).
    void setStatus(int row, StatusColumn column, const QString &text, const QColor &colour);
    // The disc fields cannot be changed while a job reads them.
    void setDiscFieldsReadOnly(bool readOnly);

private:
    void showDrivesFound(bool found);

    QByteArray m_cover;
    QTemporaryFile m_coverFile;
};

} // namespace app
