#pragma once

#include <QString>

namespace cd {

class HttpFetch;

// Sends one CDDB command to a server and returns its answer decoded, or the empty text when
// the server cannot be reached, fails or sends more than the fetch accepts.
QString cddbSend(HttpFetch &fetch, const QString &serverUrl, const QString &command,
                 const QString &helloSuffix);

} // namespace cd
