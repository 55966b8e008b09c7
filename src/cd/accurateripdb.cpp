#include "cd/accurateripdb.h"

#include "cd/cddevice.h"
#include "cd/httpfetch.h"

#include <QUrl>

namespace cd {

QString accurateRipDefaultUrl()
{
    return QStringLiteral("http://www.accuraterip.com/accuraterip");
}

AccurateRipVerdict AccurateRipLookup::verdict(const AccurateRipDiscId &disc, int track, quint32 v1,
                                              quint32 v2) const
{
    switch (state) {
    case Found:
        return accurateRipVerdict(pressings, disc, track, v1, v2);
    case Unknown:
        return {AccurateRipResult::Unknown, 0};
    case Unreachable:
        break;
    }
    return {};
}

AccurateRipLookup lookUpAccurateRip(HttpFetch &fetch, const QString &databaseUrl,
                                    const AccurateRipDiscId &disc)
{
    AccurateRipLookup lookup;
    QString base = databaseUrl;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    fetch.setMaxBodyBytes(accurateRipMaxEntryBytes);
    const QByteArray body = fetch.fetch(QUrl(base + disc.entryPath()));
    if (fetch.failure() == HttpFetch::Failure::HttpError && fetch.httpStatus() == 404) {
        lookup.state = AccurateRipLookup::Unknown;
        return lookup;
    }
    if (const auto pressings = parseAccurateRipEntry(body)) {
        lookup.state = AccurateRipLookup::Found;
        lookup.pressings = *pressings;
    }
    return lookup;
}

DiscCheck checkDisc(const QString &drive, const QString &url)
{
    DiscCheck check;
    if (const auto device = CdDevice::open(drive))
        check.toc = device->readToc();
    if (check.toc)
        check.id = accurateRipDiscId(*check.toc);
    if (check.id) {
        HttpFetch fetch;
        fetch.setTimeout(10000);
        check.lookup = lookUpAccurateRip(fetch, url, *check.id);
    }
    return check;
}

} // namespace cd
