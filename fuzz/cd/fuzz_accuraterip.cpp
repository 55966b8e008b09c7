// Feeds arbitrary bytes to the AccurateRip entry parser, as a hostile database would send them,
// and asks for the verdict of every track it claims.
#include "cd/accuraterip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto pressings = cd::parseAccurateRipEntry(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!pressings)
        return 0;
    if (pressings->isEmpty() || qint64(size) > cd::accurateRipMaxEntryBytes)
        __builtin_trap();
    for (const cd::AccurateRipPressing &pressing : *pressings) {
        if (pressing.tracks.isEmpty() || pressing.tracks.size() != pressing.disc.trackCount)
            __builtin_trap();
        // Track 0 and one past the last are asked too: they must find nothing, not crash.
        for (int track = 0; track <= pressing.tracks.size() + 1; ++track) {
            const quint32 crc = track > 0 && track <= pressing.tracks.size()
                                    ? pressing.tracks.at(track - 1).crc
                                    : 0;
            cd::accurateRipVerdict(*pressings, pressing.disc, track, crc, crc);
        }
    }
    return 0;
}
