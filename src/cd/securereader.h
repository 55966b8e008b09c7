#pragma once

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
    int rereadSectors() const { return m_rereadSectors; }
    int inexactSectors() const { return m_inexactSectors; }

    // Called by cdparanoia's callback with what happened during the read in progress.
    void note(int event);

private:
    struct Handles;
    explicit SecureReader(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> m_handles;
    int m_next = -1; // the sector the next sequential read returns
    bool m_reread = false;
    bool m_skipped = false;
    bool m_verified = false;
    bool m_skipping = false;
    int m_rereadSectors = 0;
    int m_inexactSectors = 0;
};

} // namespace cd
