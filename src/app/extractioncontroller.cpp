#include "app/extractioncontroller.h"

#include "app/cdpage.h"
#include "app/filelistmodel.h"
#include "app/optionspage.h"
#include "app/tageditorpanel.h"
#include "app/tagpage.h"
#include "app/widgets.h"
#include "base/fileaccess.h"
#include "base/safefs.h"
#include "cd/accurateripdb.h"
#include "cd/cdaudiocontrol.h"
#include "cd/cddevice.h"
#include "cd/discdetails.h"
#include "cd/hiddentrack.h"
#include "cd/outputfile.h"
#include "cd/riplog.h"
#include "cd/wavencoder.h"
#include "cd/wavfile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace app {

namespace {

QColor markColour(const QString &mark, const QWidget *list)
{
    if (mark == cd::markOk)
        return QColor(Qt::blue);
    if (mark == cd::markError)
        return QColor(Qt::red);
    return list->palette().color(QPalette::Disabled, QPalette::Text);
}

constexpr int gaugeWidth = 300;

// The mark of a checked track that a cancelled job did not reach.
const char *const markCancelled = QT_TRANSLATE_NOOP("app::ExtractionController", "(Annulé)");

} // namespace

ExtractionController::ExtractionController(QObject *parent, JobWindow &window, CdPage &cd,
                                           TagPage &tagPage, const OptionsPage &options)
    : QObject(parent), m_window(window), m_cd(cd), m_tagPage(tagPage), m_options(options)
{
    setObjectName(QStringLiteral("ExtractionController"));

    // The conversion command and its gauge sit under the file list, where the WAV files are
    // ticked, and show while the list holds WAV files: going to another page would re-read the
    // list and lose the ticks.
    QWidget *listPane = tagPage.LV1->parentWidget();
    cmdConvertir = named<QPushButton>(listPane, "cmdConvertir", tr("Convertir en MP&3"));
    cmdConvertir->setToolTip(tr("Convertit en MP3 les fichiers WAV cochés de la liste"));
    Shape1 = named<QFrame>(listPane, "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFixedSize(gaugeWidth, 18);
    Shape2 = named<QFrame>(Shape1, "Shape2");
    Shape2->setAutoFillBackground(true);
    QPalette bar = Shape2->palette();
    bar.setColor(QPalette::Window, bar.color(QPalette::Highlight));
    Shape2->setPalette(bar);
    Shape2->setGeometry(0, 0, 0, 18);
    auto *row = new QHBoxLayout;
    row->addWidget(cmdConvertir);
    row->addWidget(Shape1);
    row->addStretch();
    if (auto *layout = qobject_cast<QBoxLayout *>(listPane->layout()))
        layout->addLayout(row);
    connect(cmdConvertir, &QPushButton::clicked, this, &ExtractionController::OnSave);

    connect(tagPage.Combo7, &QComboBox::currentIndexChanged, this,
            &ExtractionController::updateConvertButton);
    const FileListModel *files = tagPage.files;
    connect(files, &QAbstractItemModel::modelReset, this,
            &ExtractionController::updateConvertButton);
    updateConvertButton();

    // Choosing a drive reads its disc. A programmatic choice (start-up) only changes the index;
    // the user choosing the same drive again only activates it; both read the disc once.
    QComboBox *drives = m_cd.cboLecteurCD;
    connect(drives, &QComboBox::currentIndexChanged, this, [this] {
        m_indexJustChanged = true;
        QTimer::singleShot(0, this, [this] { m_indexJustChanged = false; });
        driveClicked();
    });
    connect(m_cd.cmdAnnuler, &QPushButton::clicked, this, [this] { m_stopRequested = true; });
    connect(drives, &QComboBox::activated, this, [this] {
        if (!m_indexJustChanged)
            driveClicked();
    });
}

void ExtractionController::driveClicked()
{
    CdPage *page = &m_cd;
    readCdToc(page->cboLecteurCD->currentText());
    page->txtArtiste->clear();
    page->txtGenre->setCurrentIndex(-1);
    page->txtGenre->clearEditText();
    page->txtAnnee->clear();
    page->txtAlbum->clear();
}

void ExtractionController::readCdToc(const QString &drive)
{
    QTreeWidget *list = m_cd.LV2;
    list->clear();
    list->setColumnCount(1);
    const auto device = cd::CdDevice::open(drive);
    if (!device)
        return;
    const auto toc = device->readToc();
    for (int k = 0; toc && k < toc->trackCount(); ++k) {
        auto *row = new QTreeWidgetItem(list, {QStringLiteral("Piste %1").arg(k + 1)});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
    }
    m_window.setCddbAvailable(list->topLevelItemCount() > 0);
}

void ExtractionController::extract(const QList<cd::ExtractionJob::Kind> &kinds)
{
    const bool mp3 = kinds.contains(cd::ExtractionJob::Mp3);
    if (m_busy)
        return;
    m_window.stopCdDevice();
    CdPage *page = &m_cd;
    QTreeWidget *list = page->LV2;
    if (page->cboLecteurCD->count() == 0 || list->topLevelItemCount() == 0)
        return;

    cd::ExtractionSettings settings;
    settings.drive = page->cboLecteurCD->currentText();
    settings.folder = m_options.trackFolder();
    settings.nameFormat = m_options.fileNameFormat();
    settings.importNames = m_options.artistFromTitles();
    settings.artist = page->txtArtiste->text();
    settings.album = page->txtAlbum->text();
    settings.year = page->txtAnnee->text();
    settings.genre = page->txtGenre->currentText();
    settings.genreIndex = page->genreListPosition();
    settings.tagOption = m_options.tagOption();
    settings.tagDefaults =
        tags::defaultTexts(m_options.defaultComment(), m_options.defaultEncoder());
    settings.coverFile = m_cd.coverFile();
    settings.folderPatterns = m_options.folderPatterns();
    settings.musicBrainzAlbumId = page->musicBrainzReleaseId;
    settings.musicBrainzArtistId = page->musicBrainzArtistId;
    settings.discNumber = page->discNumber;

    // A title still being typed counts: taking the focus from its editor commits it.
    if (QWidget *focus = QApplication::focusWidget(); focus && list->isAncestorOf(focus))
        focus->clearFocus();
    QList<cd::TrackRow> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        rows.append({row->text(0), row->checkState(0) == Qt::Checked,
                     row->data(0, Qt::UserRole).toString()});
    }

    if (mp3)
        m_tagPage.editor->fillGenreLists();
    m_cd.resetStatusColumns();
    setBusy(true);
    // A drive's pre-gaps take seconds to find (only the log and cue sheet need them): they are
    // read off the window's thread, and "Arrêter" ends the job before any track.
    m_window.setStatusPanel(1, tr("Lecture des informations du disque…"));
    std::future<cd::DiscDetails> reading = std::async(std::launch::async, cd::readDiscDetails,
                                                      settings.drive, m_options.writeRipLog());
    while (reading.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    const cd::DiscDetails details = reading.get();
    m_window.setStatusPanel(1, QString());
    if (m_stopRequested) {
        setBusy(false);
        return;
    }
    settings.isrc = details.isrc;
    const cd::RipOptions options = m_options.ripOptions();
    const cd::DiscCheck disc = cd::checkDisc(settings.drive, m_options.accurateRipUrl());
    cd::RipReport report = cd::ripReportHead(settings, options, disc, std::nullopt);
    report.format = cd::jobFormatsText(kinds, m_options.encoderConfig(), m_options.flacLevel());
    if (disc.toc)
        cd::addDiscDetails(report, details, *disc.toc);

    cd::ExtractionJob job;
    job.options = options;
    job.encoder = m_options.encoderConfig();
    job.flacLevel = m_options.flacLevel();
    job.playlists = m_options.writePlaylists();
    job.replayGain = m_options.writeRipGain();
    job.gainOptions.rva2 = m_options.writeRva2();
    const int checked = int(
        std::count_if(rows.cbegin(), rows.cend(), [](const cd::TrackRow &r) { return r.checked; }));
    int started = 0;
    int finished = 0; // checked tracks written or failed
    QElapsedTimer clock;
    clock.start();
    QList<int> reported;
    job.askReplace = [this](const QString &path) { return askReplace(path); };
    job.trackStarted = [&](int, const QString &name) {
        ++started;
        if (kinds != QList{cd::ExtractionJob::Wav})
            m_window.setStatusPanel(1, tr("Extraction de : ") + name);
    };
    job.progress = [&](qint64 done, qint64 total) {
        showOverallProgress(started, checked, finished, clock.elapsed());
        return showProgress(done, total);
    };
    job.waiting = [this] {
        QApplication::processEvents();
        return !m_stopRequested;
    };
    job.trackFinished = [&](const cd::TrackOutcome &outcome) {
        reported << outcome.row;
        finished += rows.at(outcome.row - 1).checked;
        cd::AccurateRipVerdict verdict;
        if (outcome.mark == cd::markOk) {
            verdict = disc.verdict(outcome.row, outcome.result.accurateRipV1,
                                   outcome.result.accurateRipV2);
            report.tracks.append({outcome.row, rows.at(outcome.row - 1).text, outcome.path,
                                  outcome.result, verdict});
            m_cd.setStatus(outcome.row - 1, CdPage::AccurateRip, cd::accurateRipText(verdict),
                           markColour(QString(), m_cd.LV2));
        }
        showTrackOutcome(outcome, mp3);
    };

    // The sound hidden before track 1 comes first, as on the disc.
    bool hiddenStopped = false;
    if (m_options.ripHiddenTrack() && details.hasHiddenTrack()) {
        m_window.setStatusPanel(1, tr("Extraction de : ") + cd::hiddenTrackTitle());
        const cd::TrackOutcome hidden = cd::ripHiddenTrack(
            kinds, settings, options, job.encoder, job.flacLevel, job.askReplace,
            [this](qint64 done, qint64 total) { return showProgress(done, total); });
        hiddenStopped = hidden.result.status == cd::RipStatus::Cancelled;
        if (hidden.mark == cd::markOk)
            report.hiddenTrack = {0, cd::hiddenTrackTitle(), hidden.path, hidden.result, {}};
        else if (!hidden.message.isEmpty())
            m_window.inform(hidden.message, Dialogs::Icon::Error);
    }
    cd::ExtractionJob::Summary summary;
    summary.cancelled = hiddenStopped;
    if (!hiddenStopped)
        summary = job.run(kinds, settings, rows);
    if (summary.cancelled) {
        // The status bar no longer names a track the job has given up.
        m_window.setStatusPanel(1, QString());
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i).checked && !reported.contains(i + 1))
                m_cd.setStatus(i, CdPage::Etat, tr(markCancelled),
                               markColour(tr(markCancelled), m_cd.LV2));
        }
    }
    report.cancelled = summary.cancelled;
    m_window.clearJobProgress();
    setBusy(false);

    QString error;
    const QString stem = cd::safeFileStem(
        settings.album.isEmpty() ? QStringLiteral("extraction") : settings.album, 1);
    if (m_options.writeRipLog() && !report.tracks.isEmpty() &&
        !cd::writeRipReport(report, cd::reportFolder(settings, kinds), stem, &error))
        m_window.inform(error, Dialogs::Icon::Error);
    const QString unreadable = cd::unreadableTracksMessage(summary.unreadableRows, rows);
    if (!unreadable.isEmpty() && !summary.cancelled)
        m_window.inform(unreadable, Dialogs::Icon::Warning);
    if (const QStringList failures = summary.gainFailures + summary.playlistFailures;
        !failures.isEmpty())
        m_window.inform(failures.join(QLatin1Char('\n')), Dialogs::Icon::Warning);
    if (m_options.ejectAtEnd() && !summary.cancelled)
        m_window.ejectCdDevice();
}

void ExtractionController::showOverallProgress(int track, int tracks, int finished,
                                               qint64 elapsedMs)
{
    QString text = tr("Piste %1/%2").arg(track).arg(tracks);
    // Tracks are read ahead of their encoding: the time left follows the tracks finished.
    if (finished > 0 && finished < tracks) {
        const qint64 left = elapsedMs * (tracks - finished) / finished / 1000;
        text += tr(" — temps restant : %1 min %2 s")
                    .arg(left / 60)
                    .arg(left % 60, 2, 10, QLatin1Char('0'));
    }
    m_cd.lblProgression->setText(text);
}

void ExtractionController::showTrackOutcome(const cd::TrackOutcome &outcome, bool mp3)
{
    m_cd.setStatus(outcome.row - 1, CdPage::Etat, outcome.mark, markColour(outcome.mark, m_cd.LV2));
    if (!outcome.message.isEmpty())
        m_window.inform(outcome.message, Dialogs::Icon::Error);
    if (!mp3 || !outcome.tagged)
        return;

    // The job wrote the tags before naming the file. The editor shows the versions written,
    // then no file: its fields of another file never reach the new one. The job's file is the
    // MP3 one, which a job of several formats may not list first.
    const auto tagged =
        std::find_if(outcome.paths.cbegin(), outcome.paths.cend(), [](const QString &path) {
            return path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
        });
    m_window.setJobFile(tagged != outcome.paths.cend() ? *tagged : outcome.path);
    const cd::TagOption option = m_options.tagOption();
    TagEditorPanel *editor = m_tagPage.editor;
    editor->chkv1->setChecked(option != cd::TagOption::V2);
    editor->chkv2->setChecked(option != cd::TagOption::V1);
    editor->enableVersion(1);
    editor->enableVersion(2);
    editor->remsezerotag();
}

bool ExtractionController::showProgress(qint64 done, qint64 total)
{
    m_window.showJobProgress(done, total);
    QApplication::processEvents();
    return !m_stopRequested;
}

cd::ReplaceAnswer ExtractionController::askReplace(const QString &path)
{
    const QString question =
        tr("Le fichier « %1 » existe déjà. Voulez-vous le remplacer ?").arg(cd::displayPath(path));
    switch (m_window.askReplace(question)) {
    case Dialogs::Replace::Replace:
        return cd::ReplaceAnswer::Replace;
    case Dialogs::Replace::ReplaceAll:
        return cd::ReplaceAnswer::ReplaceAll;
    case Dialogs::Replace::Skip:
    case Dialogs::Replace::Cancel:
        break;
    }
    return cd::ReplaceAnswer::Skip;
}

void ExtractionController::OnSave()
{
    if (m_busy)
        return;
    TagPage *tagPage = &m_tagPage;
    FileListModel &list = *tagPage->files;
    if (list.count() == 0)
        return;
    if (list.checkedNames().isEmpty()) {
        m_window.inform(tr("Aucun fichier WAV n'est coché : cochez les fichiers à "
                           "convertir, puis cliquez sur « Convertir en MP3 »."),
                        Dialogs::Icon::Information);
        return;
    }
    const QString folder = tagPage->File1.path();
    // The MP3 files go to "Dossier des fichiers convertis", made when missing; with no folder
    // given, beside the WAV files.
    const QString output = m_options.convertedFolder();
    if (!output.isEmpty() && !QDir().mkpath(output)) {
        m_window.inform(tr("Le dossier des fichiers convertis « %1 » n'a pas pu être créé.")
                            .arg(base::shownPath(output)),
                        Dialogs::Icon::Error);
        return;
    }

    setBusy(true);
    // The questions come first, row by row; then the files are encoded on every core while a
    // local event loop keeps the window drawn, and each row gets its mark in list order.
    QStringList taken;
    bool replaceAll = false;
    int kept = 0;
    QList<cd::WavJob> jobs;
    QList<int> jobRows;
    const auto mark = [&](int row, const QString &text) {
        list.setNewName(row, text, markColour(text, tagPage->LV1));
    };
    for (int row = 0; row < list.count(); ++row) {
        if (!list.isChecked(row)) {
            mark(row, cd::markNotSelected);
            continue;
        }
        const QString wavPath = base::joinPath(folder, list.name(row));
        const QString mp3Path = cd::unusedName(cd::mp3PathForWav(wavPath, output), taken);
        cd::Overwrite overwrite = cd::Overwrite::Refuse;
        if (cd::outputExists(mp3Path)) {
            const cd::ReplaceAnswer answer =
                replaceAll ? cd::ReplaceAnswer::ReplaceAll : askReplace(mp3Path);
            if (answer == cd::ReplaceAnswer::Skip) {
                mark(row, cd::markNotReplaced);
                ++kept;
                continue;
            }
            replaceAll = answer == cd::ReplaceAnswer::ReplaceAll;
            overwrite = cd::Overwrite::Replace;
        }
        jobs.append({wavPath, mp3Path, overwrite});
        jobRows.append(row);
    }
    m_window.setStatusPanel(1, tr("Conversion de %1 fichier(s)").arg(jobs.size()));
    Shape2->resize(0, Shape2->height());
    // A stop asked meanwhile (closing the window) reaches the encoders through the flag.
    std::atomic_bool cancel = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] { cancel = cancel || m_stopRequested; });
    watch.start(50);
    const cd::EncoderConfig encoder = m_options.encoderConfig();
    std::vector<cd::EncodeResult> results;
    QEventLoop loop;
    std::thread worker([&] {
        results = cd::encodeWavFiles(
            jobs, encoder.vbrQuality, encoder.infoFrame,
            [&](qsizetype done, qsizetype total) {
                QMetaObject::invokeMethod(this, [this, done, total] {
                    Shape2->resize(int(gaugeWidth * done / std::max<qsizetype>(total, 1)),
                                   Shape2->height());
                });
            },
            &cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    int converted = 0;
    int cancelled = 0;
    QStringList failures;
    for (qsizetype k = 0; k < jobs.size(); ++k) {
        const cd::EncodeResult &result = results[size_t(k)];
        if (!result.ok && result.error.isEmpty()) {
            mark(jobRows[k], tr(markCancelled));
            ++cancelled;
            continue;
        }
        mark(jobRows[k], result.ok ? cd::markOk : cd::markError);
        if (result.ok)
            ++converted;
        else
            failures.append(result.error);
    }
    const bool closing = m_stopRequested;
    m_window.setStatusPanel(1, QString());
    setBusy(false);
    if (closing)
        return;
    // One report for the whole conversion, naming each file that failed.
    QString summary = tr("Fichiers convertis : %1, dans « %2 ».")
                          .arg(converted)
                          .arg(base::shownPath(output.isEmpty() ? folder : output));
    if (kept > 0)
        summary += u'\n' + tr("Fichiers MP3 existants gardés : %1.").arg(kept);
    if (cancelled > 0)
        summary += u'\n' + tr("Conversion annulée : %1 fichier(s) non converti(s).").arg(cancelled);
    if (!failures.isEmpty())
        summary += u'\n' + tr("Échecs :") + u'\n' + failures.join(u'\n');
    m_window.inform(summary, failures.isEmpty() && cancelled == 0 ? Dialogs::Icon::Information
                                                                  : Dialogs::Icon::Warning);
}

void ExtractionController::setBusy(bool busy)
{
    m_busy = busy;
    m_cd.setDiscFieldsReadOnly(busy);
    m_cd.lblProgression->setVisible(busy);
    m_cd.lblProgression->clear();
    m_cd.cmdAnnuler->setVisible(busy);
    if (busy) {
        m_stopRequested = false;
        const QList<QWidget *> commands =
            m_window.jobCommands() +
            QList<QWidget *>{m_cd.cboLecteurCD, m_cd.LV2,      m_cd.Command3,    m_cd.Command4,
                             m_tagPage.TS1,     m_tagPage.LV1, m_tagPage.Combo7, cmdConvertir};
        m_disabled.clear();
        for (QWidget *widget : commands) {
            if (widget && widget->isEnabled()) {
                widget->setEnabled(false);
                m_disabled.append(widget);
            }
        }
    } else {
        for (const QPointer<QWidget> &widget : std::as_const(m_disabled)) {
            if (widget)
                widget->setEnabled(true);
        }
        m_disabled.clear();
        updateConvertButton();
    }
}

void ExtractionController::updateConvertButton()
{
    if (m_busy)
        return;
    const TagPage *tagPage = &m_tagPage;
    const bool wavListed = tagPage->Combo7->currentIndex() == 1;
    cmdConvertir->setVisible(wavListed);
    Shape1->setVisible(wavListed);
    cmdConvertir->setEnabled(wavListed && tagPage->files->count() > 0);
}

std::optional<bool> ExtractionController::confirmClose()
{
    if (!m_busy)
        return std::nullopt;
    if (!m_window.confirm(tr("Une extraction ou une conversion est en cours. "
                             "Voulez-vous l'arrêter et quitter ?"),
                          tr("Confirmation")))
        return false;
    m_stopRequested = true;
    return true;
}

} // namespace app
