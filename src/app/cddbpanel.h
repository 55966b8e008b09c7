#pragma once

#include "app/cddbwindow.h"
#include "online/discservice.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QEventLoop;

namespace cd {
class HttpFetch;
struct CddbReply;
struct CddbDisc;
} // namespace cd

namespace app {

class CdPage;

// The online lookup of the CD page, started by the "CDDB" command: MusicBrainz (the choice
// among releases, the front cover), the CDDB exchange (the choice among several matches, the
// server list and the choice of a server), or both, as the options say. It works on the widgets
// of the CD page and the CDDB address of the window.
class CddbPanel : public QObject
{
    Q_OBJECT
public:
    // Connects the page's buttons.
    CddbPanel(QObject *parent, CddbWindow &window, CdPage &page);
    ~CddbPanel() override;

    // The whole lookup with the services of the settings; for CDDB: server check, disc ID,
    // query, read, track list, genre index.
    void demandecddb();
    // The options' service, addresses and limits. Until the window gives them, the lookup asks
    // CDDB alone.
    void setLookupSettings(const online::LookupSettings &settings);
    // category|disc ID of the disc, "Erreur|Erreur" when none, empty for an empty query or a
    // cancelled choice.
    QString cddbQuery(const QString &queryText);
    // Reads the entry and fills the disc fields and the track list, one row at most per track
    // of the disc.
    void cddbRead(const QString &category, const QString &discId, int trackCount);
    // Shows the server list in txtRecu, or why it could not be fetched.
    void cddbListSites();
    void btnChoisirSite_Click();
    void btnOkSelCategorie_Click();

    // The HTTP transfer of the window (inetConnexion).
    cd::HttpFetch *inetConnexion;

    // The CDDB server address, and the fixed end of every query (it names the user).
    QString serverUrl() const { return m_serverUrl; }
    void setServerUrl(const QString &url) { m_serverUrl = url; }
    void setHelloSuffix(const QString &suffix) { m_helloSuffix = suffix; }

    // The window is closing: a lookup in progress ends without touching the page.
    void onUnloading();

    // True while a lookup runs (a second one is not started meanwhile).
    bool isBusy() const { return m_busy; }
    // True while cddbQuery waits for the user's choice among matches.
    bool isWaitingForChoice() const { return m_choiceWait != nullptr; }

private:
    // The page's drive opened, and its table of contents read, with the window's own hold on the
    // drive released meanwhile.
    struct DiscAccess;
    void lookUpCddb();
    // Fills the page from the disc's CD-Text, when it has one.
    void lookUpCdText();
    // Fills the page from the chosen release and fetches its cover; the kind of answer tells
    // whether CDDB may still be asked.
    online::MusicBrainzReply::Kind lookUpMusicBrainz();
    // Fills the disc fields and the track list from an entry, one row at most per track.
    void showDisc(const cd::CddbDisc &disc);
    void setStatus(const QString &sentence);
    cd::CddbReply send(const QString &command);
    // Puts btnChoisirSite in its "choose a server of the list" state, with its cancel button.
    void setChoosingSite(bool choosing);

    CddbWindow &m_window;
    CdPage *m_page;
    QString m_serverUrl;
    QString m_helloSuffix;
    online::LookupSettings m_settings;
    QEventLoop *m_choiceWait = nullptr;
    QString m_sitesFailure; // why the last server list could not be fetched
    bool m_busy = false;
    bool m_discShown = false;    // the lookup has filled the page
    bool m_choosingSite = false; // btnChoisirSite chooses the server of the list
    bool m_unloading = false;
};

} // namespace app
