#include "app/cddbpanel.h"

#include "app/cdpage.h"
#include "cd/cddb.h"
#include "cd/cddbclient.h"
#include "cd/cddevice.h"
#include "cd/cdinfo.h"
#include "cd/discdetails.h"
#include "cd/httpfetch.h"
#include "online/musicbrainzdiscid.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

namespace app {

namespace {

const char *const listSitesCaption = QT_TRANSLATE_NOOP("app::CdPage", "Liste des &Sites");
const char *const chooseSiteCaption = QT_TRANSLATE_NOOP("app::CdPage", "Choisir ce &Site");
// The dynamic property of fraCatégorie that receives the chosen match line.
const char choiceTag[] = "Tag";

// The hourglass pointer for the length of a fetch.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

CddbPanel::CddbPanel(QObject *parent, CddbWindow &window, CdPage &page)
    : QObject(parent), inetConnexion(new cd::HttpFetch(this)), m_window(window), m_page(&page)
{
    setObjectName(QStringLiteral("CddbPanel"));
    m_settings.service = online::DiscService::Cddb;
    inetConnexion->setObjectName(QStringLiteral("inetConnexion"));
    connect(m_page->btnChoisirSite, &QPushButton::clicked, this, [this] {
        btnChoisirSite_Click();
        // A server is chosen in the list: it must be in sight.
        if (m_choosingSite)
            m_page->btnDetails->setChecked(true);
    });
    connect(m_page->btnAnnulerSite, &QPushButton::clicked, this,
            [this] { setChoosingSite(false); });
    connect(m_page->btnOkSelCategorie, &QPushButton::clicked, this,
            &CddbPanel::btnOkSelCategorie_Click);
    connect(m_page->btnAnnulerCategorie, &QPushButton::clicked, this, [this] {
        if (m_choiceWait)
            m_choiceWait->quit(); // the tag stays empty: nothing is read
    });
}

CddbPanel::~CddbPanel()
{
    inetConnexion->cancel();
    if (m_choiceWait)
        m_choiceWait->quit();
}

void CddbPanel::onUnloading()
{
    // The window is closing: the transfer and the wait for a choice end now, and the lookup
    // that was waiting returns without touching the window any further.
    m_unloading = true;
    inetConnexion->cancel();
    if (m_choiceWait)
        m_choiceWait->quit();
}

cd::CddbReply CddbPanel::send(const QString &command)
{
    const WaitCursor hourglass;
    return cd::cddbSend(*inetConnexion, m_serverUrl, command, m_helloSuffix);
}

void CddbPanel::setChoosingSite(bool choosing)
{
    m_choosingSite = choosing;
    m_page->btnChoisirSite->setText(QCoreApplication::translate(
        "app::CdPage", choosing ? chooseSiteCaption : listSitesCaption));
    m_page->btnAnnulerSite->setVisible(choosing);
}

void CddbPanel::setLookupSettings(const online::LookupSettings &settings)
{
    m_settings = settings;
    m_helloSuffix = cd::cddbHelloSuffix(settings.email, settings.cddbProtocol);
}

void CddbPanel::setStatus(const QString &sentence)
{
    // After MusicBrainz, what CDDB says comes below what MusicBrainz said.
    QLabel *status = m_page->lblEtatRecherche;
    const QString previous = status->text();
    status->setText((previous.isEmpty() ? QString() : previous + QStringLiteral("<br>")) +
                    sentence.toHtmlEscaped());
}

void CddbPanel::demandecddb()
{
    if (m_busy)
        return;
    m_busy = true;
    m_unloading = false;
    const auto done = qScopeGuard([this] { m_busy = false; });
    const QPointer<CddbPanel> self = this;
    m_page->lblEtatRecherche->clear();
    m_page->setCover({});
    m_discShown = false;
    const online::DiscService service = m_settings.service;
    bool found = false;
    bool cddb = service == online::DiscService::Cddb;
    if (online::asksMusicBrainz(service)) {
        const online::MusicBrainzReply::Kind reply = lookUpMusicBrainz();
        if (!self || m_unloading)
            return;
        found = reply == online::MusicBrainzReply::Found;
        cddb = online::asksCddbAfter(service, reply);
    }
    if (cddb) {
        lookUpCddb();
        if (!self || m_unloading)
            return;
    }
    // The disc's own names when no service gave any.
    if (!found && !m_discShown)
        lookUpCdText();
}

struct CddbPanel::DiscAccess
{
    explicit DiscAccess(CddbPanel &panel) : panel(panel), self(&panel)
    {
        panel.m_window.releaseCdDevice();
        device = cd::CdDevice::open(panel.m_page->cboLecteurCD->currentText());
        if (device)
            toc = device->readToc();
    }
    // The drive is closed before the window takes it again, unless the window is closing.
    ~DiscAccess()
    {
        device.reset();
        if (self && !panel.m_unloading)
            panel.m_window.reopenCdDevice();
    }
    DiscAccess(const DiscAccess &) = delete;
    DiscAccess &operator=(const DiscAccess &) = delete;

    CddbPanel &panel;
    const QPointer<CddbPanel> self;
    std::optional<cd::CdDevice> device;
    std::optional<cd::CdToc> toc;
};

void CddbPanel::lookUpCdText()
{
    const DiscAccess access(*this);
    const std::optional<cd::CdToc> &toc = access.toc;
    const cd::CdText text = toc ? access.device->readDetails(*toc).text : cd::CdText();
    if (text.isEmpty()) {
        if (m_settings.service == online::DiscService::CdText)
            setStatus(tr("Le disque n'a pas de CD-Text."));
        return;
    }
    cd::CddbDisc disc = cd::cdTextDisc(text, toc->audioTrackCount());
    // CD-Text gives no year or genre: those of the page stay.
    disc.year = m_page->txtAnnee->text();
    disc.genre = m_page->txtGenre->currentText();
    showDisc(disc);
    setStatus(tr("CD-Text : %1 / %2").arg(text.artist, text.album));
}

online::MusicBrainzReply::Kind CddbPanel::lookUpMusicBrainz()
{
    const QPointer<CddbPanel> self = this;
    const DiscAccess access(*this);
    const std::optional<online::MusicBrainzDisc> disc =
        access.toc ? online::musicBrainzDisc(*access.toc) : std::nullopt;
    if (!disc) {
        setStatus(tr("Le lecteur n'est pas prêt. Essayez plus tard."));
        return online::MusicBrainzReply::Failed;
    }

    online::MusicBrainzClient client(*inetConnexion, m_settings.musicBrainzUrl, m_settings.email);
    online::MusicBrainzReply reply;
    {
        const WaitCursor hourglass;
        reply = client.lookUp(disc->id);
    }
    if (!self || m_unloading)
        return online::MusicBrainzReply::Failed;
    m_page->txtRecu->setPlainText(reply.raw);
    if (reply.kind == online::MusicBrainzReply::Unknown) {
        m_page->lblEtatRecherche->setText(
            tr("%1 : <a href=\"%2\">le proposer à MusicBrainz</a>")
                .arg(reply.failure.toHtmlEscaped(), disc->submissionUrl.toHtmlEscaped()));
    }
    if (reply.kind != online::MusicBrainzReply::Found) {
        if (reply.kind == online::MusicBrainzReply::Failed)
            setStatus(reply.failure);
        return reply.kind;
    }

    int chosen = 0;
    if (reply.releases.size() > 1) {
        QStringList lines;
        for (const online::Release &release : reply.releases)
            lines.append(release.pickerLine());
        chosen = m_window.chooseItem(
            tr("Plusieurs éditions contiennent ce disque : choisissez la vôtre."), lines);
        if (!self || m_unloading)
            return online::MusicBrainzReply::Found;
        if (chosen < 0) {
            setStatus(tr("Aucune édition choisie : la liste des pistes reste telle "
                         "quelle."));
            return online::MusicBrainzReply::Found;
        }
    }
    const online::Release &release = reply.releases.at(chosen);
    cd::CddbDisc found = online::discOfRelease(release);
    if (found.genre.isEmpty())
        found.genre = m_page->txtGenre->currentText(); // the genre stays when none is given
    showDisc(found);

    QString status = tr("MusicBrainz : %1").arg(release.pickerLine());
    QString noCover;
    const QByteArray cover = online::fetchFrontCover(
        *inetConnexion, m_settings.coverUrl, release.id, m_settings.coverMaxBytes, &noCover);
    if (!self || m_unloading)
        return online::MusicBrainzReply::Found;
    m_page->setCover(cover);
    if (!noCover.isEmpty())
        status += QStringLiteral(". ") + noCover + u'.';
    setStatus(status);
    return online::MusicBrainzReply::Found;
}

void CddbPanel::lookUpCddb()
{
    const QPointer<CddbPanel> self = this;
    m_sitesFailure.clear();
    btnChoisirSite_Click();
    if (!self || m_unloading)
        return;
    if (!m_sitesFailure.isEmpty()) {
        setStatus(tr("CDDB : %1").arg(m_sitesFailure));
        m_window.inform(m_sitesFailure, Dialogs::Icon::Warning);
        m_page->txtRecu->clear();
        return;
    }

    // The device is released while the disc is identified.
    m_window.releaseCdDevice();

    clsCdInfo info;
    info.Init(m_page->cboLecteurCD->currentText());
    setChoosingSite(false);
    QString message;
    const QString query = info.QueryString(&message);
    if (!message.isEmpty())
        m_window.inform(message, Dialogs::Icon::Warning);

    const QString result = cddbQuery(query);
    if (!self || m_unloading)
        return;
    // Nothing found or the choice cancelled: no read is sent, and the track list stays as it
    // is so that the disc can still be extracted.
    if (!result.isEmpty() && result != u"Erreur|Erreur") {
        // The titles stay as the entry gives them: only file names replace their "/".
        cddbRead(cd::getField(result, 1, u"|"), cd::getField(result, 2, u"|"),
                 cd::queryTrackCount(query));
        if (!self || m_unloading)
            return;
    }

    m_window.reopenCdDevice();
}

QString CddbPanel::cddbQuery(const QString &queryText)
{
    if (queryText.isEmpty())
        return {};
    const cd::CddbReply reply = send(queryText);
    if (m_unloading)
        return {};
    m_page->txtRecu->setPlainText(reply.failure.isEmpty() ? reply.answer : reply.failure);
    const cd::CddbQueryAnswer parsed = cd::parseQueryAnswer(reply.answer, queryText);
    if (parsed.kind == cd::CddbQueryAnswer::NotFound) {
        setStatus(reply.failure.isEmpty()
                      ? tr("Le serveur CDDB ne connaît pas ce disque (réponse %1).")
                            .arg(cd::answerCode(reply.answer))
                      : reply.failure);
    }
    if (parsed.kind != cd::CddbQueryAnswer::Choice)
        return parsed.result;

    m_page->lstCategories->clear();
    m_page->lstCategories->addItems(parsed.matches);
    m_page->lstCategories->setCurrentRow(0);
    QGroupBox *frame = m_page->fraCategorie;
    frame->setProperty(choiceTag, QString());
    frame->show();
    // The rest of the window stays usable meanwhile; the wait ends with the choice or when
    // the window closes.
    QEventLoop wait;
    m_choiceWait = &wait;
    wait.exec();
    m_choiceWait = nullptr;
    if (m_unloading)
        return {};
    frame->hide();
    const QString chosen = frame->property(choiceTag).toString();
    return chosen.isEmpty() ? QString() : cd::choiceResult(chosen);
}

void CddbPanel::cddbRead(const QString &category, const QString &discId, int trackCount)
{
    if (category.isEmpty() || discId.isEmpty())
        return;
    const cd::CddbReply reply = send(cd::cddbReadCommand(category, discId));
    if (m_unloading)
        return;
    m_page->txtRecu->setPlainText(reply.failure.isEmpty() ? reply.answer : reply.failure);
    const cd::CddbDisc disc = cd::parseReadAnswer(reply.answer, trackCount);
    if (disc.code != u"210") {
        setStatus(reply.failure.isEmpty() ? tr("Le serveur CDDB n'a pas donné la fiche du disque "
                                               "(réponse %1).")
                                                .arg(disc.code)
                                          : reply.failure);
        return;
    }
    showDisc(disc);
}

void CddbPanel::showDisc(const cd::CddbDisc &disc)
{
    m_discShown = true;
    m_page->musicBrainzReleaseId = disc.musicBrainzReleaseId;
    m_page->musicBrainzArtistId = disc.musicBrainzArtistId;
    m_page->discNumber = disc.discNumber;
    if (disc.discLines >= 1) {
        m_page->txtArtiste->setText(disc.artist);
        m_page->txtAlbum->setText(disc.album);
    }
    if (disc.discLines >= 2)
        m_page->txtAnnee->setText(disc.year);
    if (disc.discLines >= 3)
        m_page->txtGenre->setCurrentText(disc.genre);
    // An entry without titles leaves the track list as it is, but no recording of another.
    if (!disc.discLinesFound() || disc.rows.isEmpty()) {
        for (int i = 0; i < m_page->LV2->topLevelItemCount(); ++i)
            m_page->LV2->topLevelItem(i)->setData(0, Qt::UserRole,
                                                  disc.musicBrainzRecordingIds.value(i));
        return;
    }
    // The disc keeps all its tracks: an entry with fewer titles leaves the last rows their names.
    QStringList titles = disc.rows;
    for (int i = int(titles.size()); i < m_page->LV2->topLevelItemCount(); ++i)
        titles.append(m_page->LV2->topLevelItem(i)->text(0));
    m_page->LV2->clear();
    for (const QString &title : titles) {
        auto *row = new QTreeWidgetItem(m_page->LV2, {title});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
        row->setData(0, Qt::UserRole,
                     disc.musicBrainzRecordingIds.value(m_page->LV2->topLevelItemCount() - 1));
    }
}

void CddbPanel::cddbListSites()
{
    const cd::CddbReply reply = send(QStringLiteral("sites"));
    if (m_unloading)
        return;
    m_sitesFailure = reply.failure;
    m_page->txtRecu->setPlainText(reply.failure.isEmpty() ? cd::parseSitesAnswer(reply.answer).text
                                                          : reply.failure);
}

void CddbPanel::btnChoisirSite_Click()
{
    if (!m_choosingSite) {
        cddbListSites();
        setChoosingSite(true);
    } else {
        setChoosingSite(false);
        // The server of the line under the cursor of the list.
        const QString url = cd::serverUrlInLine(m_page->txtRecu->textCursor().block().text());
        if (!url.isEmpty())
            m_serverUrl = url;
    }
}

void CddbPanel::btnOkSelCategorie_Click()
{
    const QListWidgetItem *chosen = m_page->lstCategories->currentItem();
    if (!chosen)
        return;
    m_page->fraCategorie->setProperty(choiceTag, chosen->text());
    if (m_choiceWait)
        m_choiceWait->quit();
}

} // namespace app
