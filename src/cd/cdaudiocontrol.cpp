#include "cd/cdaudiocontrol.h"

#include "cd/cddevice.h"

#include <QCoreApplication>
#include <QFileInfo>

// cdio.h first: the audio header uses its types without including it.
#include <cdio/cdio.h>

#include <cdio/audio.h>
#include <cdio/mmc.h>
#include <cdio/track.h>

namespace cd {

namespace {

struct CdioDeleter
{
    void operator()(CdIo_t *cdio) const { cdio_destroy(cdio); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioDeleter>;

// Images are files; drives are device nodes.
CdioPtr openCdio(const QString &path)
{
    const QByteArray local = QFile::encodeName(path);
    const bool image = QFileInfo(path).isFile();
    return CdioPtr(cdio_open(local.constData(), image ? DRIVER_UNKNOWN : DRIVER_DEVICE));
}

} // namespace

CdAudioControl::CdAudioControl(QObject *parent) : QObject(parent) {}

CdAudioControl::~CdAudioControl() = default;

bool CdAudioControl::sendCommand(const QString &command)
{
    m_command = command;
    bool ok = false;
    if (command.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0) {
        if (m_open)
            closeDevice();
        m_open = openDevice();
        m_track = m_open ? 1 : 0;
        ok = m_open;
    } else if (command.compare(QLatin1String("Stop"), Qt::CaseInsensitive) == 0) {
        ok = m_open && stopDevice();
    } else if (command.compare(QLatin1String("Eject"), Qt::CaseInsensitive) == 0) {
        // A device that cannot eject (a disc image) stays as it was.
        ok = ejectDevice();
        if (ok) {
            m_open = false;
            m_track = 0;
        }
    } else if (command.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
        if (m_open)
            closeDevice();
        ok = m_open;
        m_open = false;
        m_track = 0;
    }
    if (m_notify)
        emit done(ok ? 1 : 4);
    return ok;
}

int CdAudioControl::track() const
{
    if (!m_open)
        return 0;
    const int onDevice = deviceTrack();
    return onDevice > 0 ? onDevice : m_track;
}

void CdAudioControl::setTrack(int track)
{
    if (!m_open || track < 1)
        return;
    m_track = track;
    positionDevice(track);
}

struct CdioAudioControl::Handle
{
    CdioPtr cdio;
    bool image = false;
};

CdioAudioControl::CdioAudioControl(QObject *parent) : CdAudioControl(parent) {}

CdioAudioControl::~CdioAudioControl() = default;

bool CdioAudioControl::openDevice()
{
    auto handle = std::make_unique<Handle>();
    handle->image = QFileInfo(device()).isFile();
    handle->cdio = openCdio(device());
    if (!handle->cdio)
        return false;
    m_handle = std::move(handle);
    return true;
}

bool CdioAudioControl::stopDevice()
{
    if (!m_handle)
        return false;
    if (m_handle->image)
        return true;
    const driver_return_code_t rc = cdio_audio_stop(m_handle->cdio.get());
    // A drive that is not playing, or cannot play, is stopped all the same.
    return rc == DRIVER_OP_SUCCESS || rc == DRIVER_OP_UNSUPPORTED || rc == DRIVER_OP_ERROR;
}

void CdioAudioControl::closeDevice()
{
    m_handle.reset();
}

bool CdioAudioControl::ejectDevice()
{
    if (QFileInfo(device()).isFile())
        return false;
    // The tray opens only once no handle holds the drive.
    closeDevice();
    return ejectDrive(device());
}

int CdioAudioControl::deviceTrack() const
{
    if (!m_handle || m_handle->image)
        return 0;
    cdio_subchannel_t sub{};
    if (cdio_audio_read_subchannel(m_handle->cdio.get(), &sub) != DRIVER_OP_SUCCESS)
        return 0;
    if (sub.audio_status != CDIO_MMC_READ_SUB_ST_PLAY &&
        sub.audio_status != CDIO_MMC_READ_SUB_ST_PAUSED)
        return 0;
    const int first = cdio_get_first_track_num(m_handle->cdio.get());
    return sub.track >= first ? sub.track - first + 1 : 0;
}

bool isUsableDiscImage(const QString &path, QString *reason)
{
    auto fail = [reason](const QString &text) {
        if (reason)
            *reason = text;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(
            QCoreApplication::translate("cd", "l'image de disque « %1 » n'existe pas").arg(path));
    if (!info.isFile() || !info.isReadable())
        return fail(
            QCoreApplication::translate("cd", "l'image de disque « %1 » ne peut pas être lue")
                .arg(path));
    const std::optional<CdDevice> device = CdDevice::open(path);
    if (!device)
        return fail(QCoreApplication::translate("cd", "l'image de disque « %1 » n'est pas reconnue")
                        .arg(path));
    if (!device->readToc())
        return fail(QCoreApplication::translate(
                        "cd", "l'image de disque « %1 » n'a pas de table des matières lisible")
                        .arg(path));
    return true;
}

} // namespace cd
