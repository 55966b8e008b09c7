#include "cd/cddevice.h"

#include <QLoggingCategory>

#include <cdio/cdio.h>
#include <cdio/logging.h>

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

} // namespace

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

bool CdDevice::readAudio(int first, int count, char *buffer) const
{
    if (first < 0 || count <= 0)
        return false;
    return cdio_read_audio_sectors(m_cdio.get(), buffer, lsn_t(first), uint32_t(count)) ==
           DRIVER_OP_SUCCESS;
}

} // namespace cd
