#pragma once

#include "cd/cdtoc.h"
#include "cd/discdetails.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

typedef struct _CdIo CdIo_t;

namespace cd {

// Bytes of one CD-DA sector: 588 stereo frames of 16-bit little-endian samples.
inline constexpr int sectorBytes = 2352;

// The CD drives libcdio finds on this machine (device paths such as /dev/sr0); empty when
// there is none.
QStringList cdDrives();

// Opens the tray of a drive (a device path). Nothing happens for a disc image, and false is
// returned then, as when the drive refuses.
bool ejectDrive(const QString &device);

// A drive or a disc image (.cue/.bin, .toc, .nrg) opened for reading: the only place that
// talks to libcdio.
class CdDevice
{
public:
    // Opens a device path or an image file; nothing when libcdio cannot open it.
    static std::optional<CdDevice> open(const QString &designator);

    CdDevice(CdDevice &&) noexcept;
    CdDevice &operator=(CdDevice &&) noexcept;
    ~CdDevice();

    // The table of contents: nothing when the disc cannot be read or reports no track.
    std::optional<CdToc> readToc() const;

    // What libcdio reads of the disc besides its table of contents: the catalogue number, the
    // ISRC and the pre-gap of each track of toc, and the CD-Text. The area before track 1 is
    // not read here (hiddenSectors and hiddenAudible stay unset).
    DiscDetails readDetails(const CdToc &toc) const;

    // The position the Q sub-channel of a sector gives (a drive's MMC read); nothing for an image,
    // a drive that cannot read it, or a sector whose Q carries no position.
    std::optional<SectorPosition> readPosition(int sector) const;

    // Reads count raw audio sectors starting at sector number first into buffer, which holds
    // count * sectorBytes bytes. False when the drive reports a failure.
    bool readAudio(int first, int count, char *buffer) const;

    // The libcdio handle, for the secure reader that reads through cdparanoia.
    CdIo_t *handle() const { return m_cdio.get(); }

private:
    struct Closer
    {
        void operator()(CdIo_t *p) const;
    };
    explicit CdDevice(CdIo_t *p);
    std::unique_ptr<CdIo_t, Closer> m_cdio;
};

} // namespace cd
