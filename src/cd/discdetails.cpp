#include "cd/discdetails.h"

#include "cd/cddb.h"
#include "cd/cddevice.h"
#include "cd/ripper.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

namespace cd {

namespace {

// The loudest sample that still counts as silence: about -60 dB, below any music and above the
// faint noise of some pauses.
constexpr int silenceLimit = 32;

} // namespace

bool CdText::isEmpty() const
{
    return artist.isEmpty() && album.isEmpty() && titles.isEmpty() && performers.isEmpty();
}

int DiscDetails::pregapSectors(int k, const CdToc &toc) const
{
    const int start = pregapStarts.value(k, -1);
    if (start < 0 || k < 0 || k >= toc.trackCount())
        return 0;
    return std::max(toc.trackStart(k) - start, 0);
}

std::optional<int> findPregapStart(int from, int start, int track, const PositionReader &position)
{
    // Whether a sector lies in the pre-gap. One sector in a hundred carries the catalogue number
    // or ISRC instead of a position: its neighbours tell (the gap's first sector may then be found
    // one sector early).
    const auto inGap = [&](int sector) -> std::optional<bool> {
        for (const int s : {sector, sector + 1, sector - 1, sector + 2}) {
            if (s < from || s >= start)
                continue;
            if (const std::optional<SectorPosition> p = position(s))
                return p->track == track && p->index == 0;
        }
        return std::nullopt;
    };
    if (start <= from)
        return -1;
    const std::optional<bool> last = inGap(start - 1);
    if (!last)
        return std::nullopt;
    if (!*last)
        return -1;
    // The sectors of the track before come first, then those of the pre-gap: a binary search.
    int low = from, high = start - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const std::optional<bool> gap = inGap(middle);
        if (!gap)
            return std::nullopt;
        if (*gap)
            high = middle;
        else
            low = middle + 1;
    }
    return high;
}

bool isAudible(QByteArrayView pcm)
{
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
        if (std::abs(int(qFromLittleEndian<qint16>(pcm.data() + i))) > silenceLimit)
            return true;
    }
    return false;
}

DiscDetails readDiscDetails(const QString &drive, bool scanPregaps)
{
    const std::optional<CdDevice> device = CdDevice::open(drive);
    const std::optional<CdToc> toc = device ? device->readToc() : std::nullopt;
    if (!toc)
        return {};
    DiscDetails details = device->readDetails(*toc);
    // libcdio gives the index 00 of images; a drive's are read from the sub-channel, until the
    // drive shows it cannot.
    const PositionReader position = [&device](int sector) { return device->readPosition(sector); };
    const bool image = QFileInfo(drive).isFile();
    for (int k = 0; scanPregaps && !image && k < toc->audioTrackCount(); ++k) {
        if (details.pregapStarts.value(k, -1) >= 0)
            continue;
        const std::optional<int> found = findPregapStart(
            k == 0 ? 0 : toc->trackStart(k - 1), toc->trackStart(k), toc->firstTrack + k, position);
        if (!found)
            break;
        details.pregapStarts[k] = *found;
    }
    details.hiddenSectors = std::max(toc->trackStart(0), 0);
    QByteArray batch(batchSectors * sectorBytes, Qt::Uninitialized);
    for (int sector = 0; sector < details.hiddenSectors && !details.hiddenAudible;
         sector += batchSectors) {
        const int count = std::min(batchSectors, details.hiddenSectors - sector);
        // An unreadable batch tells nothing: the next ones may still hold sound.
        if (device->readAudio(sector, count, batch.data()))
            details.hiddenAudible = isAudible(QByteArrayView(batch).first(count * sectorBytes));
    }
    return details;
}

CddbDisc cdTextDisc(const CdText &text, int trackCount)
{
    CddbDisc disc;
    disc.code = QStringLiteral("210");
    disc.discLines = 3;
    disc.artist = text.artist;
    disc.album = text.album;
    for (int k = 0; k < trackCount; ++k) {
        const QString title = text.titles.value(k);
        const QString performer = text.performers.value(k);
        if (title.isEmpty())
            disc.rows.append(QStringLiteral("Piste %1").arg(k + 1));
        else if (!performer.isEmpty() && performer != text.artist)
            disc.rows.append(performer + QStringLiteral(" / ") + title);
        else
            disc.rows.append(title);
    }
    return disc;
}

QString cueTime(int sectors)
{
    return QString::asprintf("%02d:%02d:%02d", sectors / 4500, sectors / 75 % 60, sectors % 75);
}

} // namespace cd
