#include "cd/cdinfo.h"

#include "cd/cddevice.h"

#include <new>

#include <QCoreApplication>

namespace {

constexpr int framesPerSecond = 75;
constexpr int framesPerMinute = 60 * framesPerSecond;
constexpr int maxTracks = 99;
// Longest address a table of contents can hold: 99:59:74.
constexpr int maxFrames = 99 * framesPerMinute + 59 * framesPerSecond + 74;

int digitSum(int n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += n % 10;
    return sum;
}

QString hexPadded(int value, int width)
{
    // Padding only lengthens: a value with more digits keeps them all.
    return QString::number(value, 16).rightJustified(width, QLatin1Char('0'));
}

} // namespace

void clsCdInfo::Init(const QString &sDrive)
{
    m_errorCode = 0;
    m_drive = sDrive;
    m_discId = QStringLiteral("(unavailable)");
    m_tracks.clear();
    // The device is opened and closed within this call.
    const std::optional<cd::CdDevice> device = cd::CdDevice::open(sDrive);
    if (!device) {
        m_errorCode = ErrorCannotOpen;
        return;
    }
    const std::optional<cd::CdToc> toc = device->readToc();
    if (!toc) {
        m_errorCode = ErrorDeviceNotReady;
        return;
    }
    computeDiscId(*toc);
}

void clsCdInfo::InitFromToc(const cd::CdToc &toc)
{
    m_errorCode = 0;
    computeDiscId(toc);
}

void clsCdInfo::computeDiscId(const cd::CdToc &toc)
{
    m_discId = QStringLiteral("(unavailable)");
    m_trackCount = 0;
    m_discSeconds = 0;
    m_tracks.clear();

    const int n = toc.trackCount();
    if (n < 1 || n > maxTracks || toc.starts.size() != n + 1) {
        m_errorCode = n < 1 ? ErrorDeviceNotReady : ErrorOutOfRange;
        return;
    }
    QList<Entry> tracks;
    tracks.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        const cd::Msf &a = toc.starts.at(i);
        if (a.minute < 0 || a.second < 0 || a.second > 59 || a.frame < 0 || a.frame > 74 ||
            a.minute > 99) {
            m_errorCode = ErrorOutOfRange;
            return;
        }
        const int offset = a.minute * framesPerMinute + a.second * framesPerSecond + a.frame;
        if (i > 0 && offset <= tracks.last().offset) {
            m_errorCode = ErrorOutOfRange;
            return;
        }
        tracks.append({a.minute, a.second, a.frame, offset});
    }

    // The length of the last track is what the drive reports: one frame short of the lead-out.
    // The identification adds that frame back, which lands exactly on the lead-out.
    const int lastLength = tracks.at(n).offset - tracks.at(n - 1).offset - 1;
    const int total = tracks.at(n - 1).offset + lastLength + 1;
    if (total > maxFrames) {
        m_errorCode = ErrorOutOfRange;
        return;
    }
    Entry &leadOut = tracks[n];
    leadOut.frame = total % framesPerSecond;
    leadOut.second = (total / framesPerSecond) % 60;
    leadOut.minute = (total / framesPerSecond) / 60;
    leadOut.offset = total;

    const int discSeconds =
        (leadOut.minute * 60 + leadOut.second) - (tracks.at(0).minute * 60 + tracks.at(0).second);
    int checksum = 0;
    for (int i = 0; i < n; ++i)
        checksum += digitSum(tracks.at(i).minute * 60 + tracks.at(i).second);

    m_trackCount = n;
    m_discSeconds = discSeconds;
    m_tracks = tracks;
    m_discId = hexPadded(checksum % 255, 2) + hexPadded(discSeconds, 4) + hexPadded(n, 2);
}

QString clsCdInfo::QueryString(QString *message) const
{
    if (m_tracks.isEmpty()) {
        if (message)
            *message =
                QCoreApplication::translate("cd", "Le lecteur n'est pas prêt. Essayez plus tard.");
        return {};
    }
    try {
        QString query = QStringLiteral("cddb+query+") + m_discId + QLatin1Char('+') +
                        QString::number(m_trackCount);
        for (int i = 0; i < m_trackCount; ++i)
            query += QLatin1Char('+') + QString::number(m_tracks.at(i).offset);
        const Entry &leadOut = m_tracks.at(m_trackCount);
        query += QLatin1Char('+') + QString::number(leadOut.minute * 60 + leadOut.second);
        return query;
    } catch (const std::bad_alloc &) {
        if (message)
            *message = QCoreApplication::translate("cd", "Erreur : 7\rMémoire insuffisante");
        return {};
    }
}
