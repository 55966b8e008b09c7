#include "cd/discdetails.h"

#include "cd/cddb.h"
#include "cd/cddevice.h"
#include "cd/ripper.h"

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

bool isAudible(QByteArrayView pcm)
{
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
        if (std::abs(int(qFromLittleEndian<qint16>(pcm.data() + i))) > silenceLimit)
            return true;
    }
    return false;
}

DiscDetails readDiscDetails(const QString &drive)
{
    const std::optional<CdDevice> device = CdDevice::open(drive);
    const std::optional<CdToc> toc = device ? device->readToc() : std::nullopt;
    if (!toc)
        return {};
    DiscDetails details = device->readDetails(*toc);
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
