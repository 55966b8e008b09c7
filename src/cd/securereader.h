#pragma once

#include <QSet>

#include <memory>

namespace cd {

class CdDevice;

// Reads a drive or image through cdparanoia: every sector is read in overlapping passes and
// compared, jitter is corrected, and a sector that keeps failing is read again a bounded number
// of times before it is given up. Reads are sequential; a read elsewhere seeks first.
class SecureReader
{
public:
    // The retries of one sector before it is given up.
    static constexpr int maxRetries = 20;

    // Nothing when cdparanoia cannot take the device. The device must outlive the reader.
    static std::unique_ptr<SecureReader> open(const CdDevice &device);
    ~SecureReader();
    SecureReader(const SecureReader &) = delete;
    SecureReader &operator=(const SecureReader &) = delete;

    // Reads count sectors from sector number first into buffer (count * 2352 bytes). A sector
    // that could not be read exactly holds what cdparanoia made of it, or silence.
    void read(int first, int count, char *buffer);

    // Sectors that needed more than one read, and sectors given up or read with an error left.
    int rereadSectors() const { return int(m_reread.size()); }
    int inexactSectors() const { return int(m_inexact.size()); }

    // Called by cdparanoia's callback with the sector and what happened to it.
    void note(int sector, int event);

private:
    struct Handles;
    explicit SecureReader(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> m_handles;
    int m_next = -1; // the sector the next sequential read returns
    QSet<int> m_reread;
    QSet<int> m_inexact;
};

} // namespace cd
