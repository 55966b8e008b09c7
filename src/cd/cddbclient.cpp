#include "cd/cddbclient.h"

#include "cd/cddb.h"
#include "cd/httpfetch.h"

#include <QUrl>

namespace cd {

QString cddbSend(HttpFetch &fetch, const QString &serverUrl, const QString &command,
                 const QString &helloSuffix)
{
    // The command words are joined by "+", which must reach the server as it stands.
    const QUrl url(cddbRequestUrl(serverUrl, command, helloSuffix), QUrl::TolerantMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return {};
    return decodeCddbAnswer(fetch.fetch(url));
}

} // namespace cd
