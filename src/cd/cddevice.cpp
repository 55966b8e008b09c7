#include "cd/cddevice.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <cdio/cdio.h>
#include <cdio/cdtext.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>

#include <algorithm>
#include <array>

namespace cd {

Q_LOGGING_CATEGORY(lcCdio, "tarvex.cd.cdio", QtWarningMsg)

namespace {

// libcdio writes its warnings to stderr by default; a missing disc is an ordinary event
// here, so its messages go to a logging category that is silent unless asked for.
void cdioLog(cdio_log_level_t level, const char message[])
{
    if (level >= CDIO_LOG_ERROR)
        qCWarning(lcCdio, "%s", message);
    else
        qCDebug(lcCdio, "%s", message);
}

void routeCdioLog()
{
    static const bool routed = [] {
        cdio_log_set_handler(cdioLog);
        return true;
    }();
    Q_UNUSED(routed);
}

Msf msfOfLba(lba_t lba)
{
    return Msf{int(lba / (60 * 75)), int(lba / 75 % 60), int(lba % 75)};
}

// A code libcdio allocated, freed once copied; empty unless it has the form a disc's code has
// (what a drive reports is not trusted to be text).
QString takeCode(char *text, const QRegularExpression &form)
{
    const QString copy = text ? QString::fromLatin1(text).trimmed() : QString();
    cdio_free(text);
    return form.match(copy).hasMatch() ? copy : QString();
}

QString cdTextField(const cdtext_t *text, cdtext_field_t field, int track)
{
    // libcdio has converted the block's character code to UTF-8.
    const char *value = cdtext_get_const(text, field, track_t(track));
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

CdText readCdText(CdIo_t *cdio, const CdToc &toc)
{
    CdText result;
    cdtext_t *text = cdio_get_cdtext(cdio); // owned by the handle
    if (!text)
        return result;
    // A disc may carry its texts in up to eight languages: French when it has it, else the
    // first block.
    int block = 0;
    if (const cdtext_lang_t *languages = cdtext_list_languages_v2(text)) {
        for (int i = 0; i < 8; ++i) {
            if (languages[i] == CDTEXT_LANGUAGE_FRENCH) {
                block = i;
                break;
            }
        }
    }
    cdtext_set_language_index(text, block);
    result.artist = cdTextField(text, CDTEXT_FIELD_PERFORMER, 0);
    result.album = cdTextField(text, CDTEXT_FIELD_TITLE, 0);
    QStringList titles, performers;
    for (int t = toc.firstTrack; t <= toc.lastTrack; ++t) {
        titles.append(cdTextField(text, CDTEXT_FIELD_TITLE, t));
        performers.append(cdTextField(text, CDTEXT_FIELD_PERFORMER, t));
    }
    const auto named = [](const QStringList &list) {
        return std::any_of(list.cbegin(), list.cend(),
                           [](const QString &s) { return !s.isEmpty(); });
    };
    if (named(titles))
        result.titles = titles;
    if (named(performers))
        result.performers = performers;
    return result;
}

} // namespace

bool ejectDrive(const QString &device)
{
    routeCdioLog();
    // Ejecting an image would break libcdio's handle, and means nothing.
    if (device.isEmpty() || QFileInfo(device).isFile())
        return false;
    return cdio_eject_media_drive(device.toLocal8Bit().constData()) == DRIVER_OP_SUCCESS;
}

QStringList cdDrives()
{
    routeCdioLog();
    QStringList drives;
    char **list = cdio_get_devices(DRIVER_DEVICE);
    if (!list)
        return drives;
    for (char **d = list; *d; ++d)
        drives << QString::fromLocal8Bit(*d);
    cdio_free_device_list(list);
    return drives;
}

void CdDevice::Closer::operator()(CdIo_t *p) const
{
    cdio_destroy(p);
}

CdDevice::CdDevice(CdIo_t *p) : m_cdio(p) {}

CdDevice::CdDevice(CdDevice &&) noexcept = default;
CdDevice &CdDevice::operator=(CdDevice &&) noexcept = default;
CdDevice::~CdDevice() = default;

std::optional<CdDevice> CdDevice::open(const QString &designator)
{
    routeCdioLog();
    if (designator.isEmpty())
        return std::nullopt;
    CdIo_t *p = cdio_open(designator.toLocal8Bit().constData(), DRIVER_UNKNOWN);
    if (!p)
        return std::nullopt;
    return CdDevice(p);
}

std::optional<CdToc> CdDevice::readToc() const
{
    const track_t first = cdio_get_first_track_num(m_cdio.get());
    const track_t count = cdio_get_num_tracks(m_cdio.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return std::nullopt;
    // A table of contents holds at most 99 tracks; a longer answer is cut there.
    const int last = std::min(int(first) + int(count) - 1, 99);
    if (last < int(first))
        return std::nullopt;

    CdToc toc;
    toc.firstTrack = first;
    toc.lastTrack = last;
    for (int t = first; t <= last + 1; ++t) {
        // The end of the last listed track is the lead-out, or the next track when the
        // list was cut.
        const bool leadOut = t >= int(first) + int(count);
        const track_t track = leadOut ? track_t(CDIO_CDROM_LEADOUT_TRACK) : track_t(t);
        const lba_t lba = cdio_get_track_lba(m_cdio.get(), track);
        if (lba == CDIO_INVALID_LBA)
            return std::nullopt;
        toc.starts.append(msfOfLba(lba));
    }
    for (int t = first; t <= last; ++t) {
        if (cdio_get_track_format(m_cdio.get(), track_t(t)) != TRACK_FORMAT_AUDIO)
            toc.dataTracks.append(t - first);
    }
    // A drive tells where the last session of a multi-session disc starts; images have one
    // session (libcdio reads none from them), so their tracks follow one another without a gap.
    lsn_t session = 0;
    if (cdio_get_last_session(m_cdio.get(), &session) == DRIVER_OP_SUCCESS && session > 0)
        toc.lastSessionStart = session;
    return toc;
}

DiscDetails CdDevice::readDetails(const CdToc &toc) const
{
    DiscDetails details;
    CdIo_t *cdio = m_cdio.get();
    // Thirteen digits (a disc without a catalogue number reports zeros); twelve letters and
    // digits.
    static const QRegularExpression catalogue(QStringLiteral("^(?!0{13})[0-9]{13}$"));
    static const QRegularExpression isrc(QStringLiteral("^[A-Z0-9]{12}$"));
    details.catalogue = takeCode(cdio_get_mcn(cdio), catalogue);
    for (int t = toc.firstTrack; t <= toc.lastTrack; ++t) {
        details.isrc.append(takeCode(cdio_get_track_isrc(cdio, track_t(t)), isrc));
        const lsn_t pregap = cdio_get_track_pregap_lsn(cdio, track_t(t));
        details.pregapStarts.append(pregap == CDIO_INVALID_LSN || pregap < 0 ? -1 : int(pregap));
    }
    details.text = readCdText(cdio, toc);
    return details;
}

std::optional<SectorPosition> CdDevice::readPosition(int sector) const
{
    // The sector's audio, then its formatted Q sub-channel (16 bytes).
    std::array<unsigned char, sectorBytes + 16> block{};
    if (sector < 0 ||
        mmc_read_cd(m_cdio.get(), block.data(), lsn_t(sector), CDIO_MMC_READ_TYPE_CDDA, false,
                    false, 0, true, false, 0, 2, uint16_t(block.size()), 1) != DRIVER_OP_SUCCESS)
        return std::nullopt;
    const unsigned char *q = block.data() + sectorBytes;
    // ADR 1 is a position; 2 and 3 carry the catalogue number and the ISRC.
    if ((q[0] & 0x0f) != 1)
        return std::nullopt;
    const auto bcd = [](unsigned char b) { return (b >> 4) * 10 + (b & 0x0f); };
    return SectorPosition{bcd(q[1]), bcd(q[2])};
}

bool CdDevice::readAudio(int first, int count, char *buffer) const
{
    if (first < 0 || count <= 0)
        return false;
    return cdio_read_audio_sectors(m_cdio.get(), buffer, lsn_t(first), uint32_t(count)) ==
           DRIVER_OP_SUCCESS;
}

} // namespace cd
