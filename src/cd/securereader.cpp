#include "cd/securereader.h"

#include "cd/cddevice.h"

#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <cstring>

namespace cd {

namespace {

// cdparanoia's callback carries no context: the reader that is reading on this thread.
thread_local SecureReader *currentReader = nullptr;

void paranoiaCallback(long, paranoia_cb_mode_t event)
{
    if (currentReader)
        currentReader->note(int(event));
}

} // namespace

struct SecureReader::Handles
{
    cdrom_drive_t *drive = nullptr;
    cdrom_paranoia_t *paranoia = nullptr;

    ~Handles()
    {
        if (paranoia)
            cdio_paranoia_free(paranoia);
        // The libcdio handle belongs to the CdDevice.
        if (drive)
            cdio_cddap_close_no_free_cdio(drive);
    }
};

std::unique_ptr<SecureReader> SecureReader::open(const CdDevice &device)
{
    auto handles = std::make_unique<Handles>();
    handles->drive = cdio_cddap_identify_cdio(device.handle(), CDDA_MESSAGE_FORGETIT, nullptr);
    if (!handles->drive)
        return nullptr;
    cdio_cddap_verbose_set(handles->drive, CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
    // Left to itself, cdparanoia guesses the byte order from the samples, and takes loud noise
    // for swapped bytes. Images hold little-endian samples, and MMC drives return CD-DA
    // little-endian too: the order the plain reads take as it comes.
    handles->drive->bigendianp = 0;
    if (cdio_cddap_open(handles->drive) != 0)
        return nullptr;
    handles->paranoia = cdio_paranoia_init(handles->drive);
    if (!handles->paranoia)
        return nullptr;
    // Full checking, but a sector that still fails after the retries is given up rather than
    // read for ever.
    cdio_paranoia_modeset(handles->paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return std::unique_ptr<SecureReader>(new SecureReader(std::move(handles)));
}

SecureReader::SecureReader(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}

SecureReader::~SecureReader() = default;

void SecureReader::read(int first, int count, char *buffer)
{
    if (first != m_next) {
        cdio_paranoia_seek(m_handles->paranoia, first, SEEK_SET);
        m_next = first;
    }
    currentReader = this;
    for (int i = 0; i < count; ++i, ++m_next) {
        char *sector = buffer + qsizetype(i) * CDIO_CD_FRAMESIZE_RAW;
        m_reread = m_skipped = m_verified = false;
        const int16_t *data =
            cdio_paranoia_read_limited(m_handles->paranoia, paranoiaCallback, maxRetries);
        if (data)
            std::memcpy(sector, data, CDIO_CD_FRAMESIZE_RAW);
        else
            std::memset(sector, 0, CDIO_CD_FRAMESIZE_RAW);
        // What cdparanoia reports while it delivers a sector concerns that sector: its events
        // carry the position of the read in progress, which runs ahead of the one returned.
        // After a skip, cdparanoia hands out the rest of the skipped span without telling
        // again: those sectors stay inexact until a read is verified.
        m_skipping = m_skipped || (m_skipping && !m_verified);
        m_rereadSectors += m_reread || m_skipping || !data;
        m_inexactSectors += m_skipping || !data;
    }
    currentReader = nullptr;
}

void SecureReader::note(int event)
{
    switch (event) {
    case PARANOIA_CB_READERR:
    case PARANOIA_CB_FIXUP_EDGE:
    case PARANOIA_CB_FIXUP_ATOM:
    case PARANOIA_CB_FIXUP_DROPPED:
    case PARANOIA_CB_FIXUP_DUPED:
    case PARANOIA_CB_DRIFT:
        m_reread = true;
        break;
    case PARANOIA_CB_SKIP:
        m_skipped = true;
        break;
    case PARANOIA_CB_VERIFY:
        m_verified = true;
        break;
    default:
        break;
    }
}

} // namespace cd
