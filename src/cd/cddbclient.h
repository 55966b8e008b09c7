#pragma once

#include <QString>

namespace cd {

class HttpFetch;

// What one CDDB command brought back.
struct CddbReply
{
    QString answer;  // decoded; empty when the exchange failed
    QString failure; // why, in French; empty when the server answered
};

// Sends one CDDB command to a server. An unreachable or silent server, an answer over the
// fetch's size limit, an HTTP error and an empty answer each give their own failure text.
CddbReply cddbSend(HttpFetch &fetch, const QString &serverUrl, const QString &command,
                   const QString &helloSuffix);

} // namespace cd
