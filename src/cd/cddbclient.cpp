#include "cd/cddbclient.h"

#include "cd/cddb.h"
#include "cd/httpfetch.h"

#include <QCoreApplication>
#include <QUrl>

namespace cd {

CddbReply cddbSend(HttpFetch &fetch, const QString &serverUrl, const QString &command,
                   const QString &helloSuffix)
{
    // The command words are joined by "+", which must reach the server as it stands.
    const QUrl url(cddbRequestUrl(serverUrl, command, helloSuffix), QUrl::TolerantMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return {{},
                QCoreApplication::translate("cd", "Adresse de serveur CDDB invalide : ") +
                    serverUrl};
    CddbReply reply{decodeCddbAnswer(fetch.fetch(url)), {}};
    switch (fetch.failure()) {
    case HttpFetch::Failure::None:
        if (reply.answer.isEmpty())
            reply.failure =
                QCoreApplication::translate("cd", "Le serveur CDDB a envoyé une réponse vide");
        break;
    case HttpFetch::Failure::NoAnswer:
        reply.failure = QCoreApplication::translate("cd", "Pas de connection internet");
        break;
    case HttpFetch::Failure::TooLarge:
        reply.failure =
            QCoreApplication::translate("cd", "Réponse du serveur CDDB trop longue (plus de %1 Ko)")
                .arg(HttpFetch::maxBodyBytes / 1024);
        break;
    case HttpFetch::Failure::HttpError:
        reply.failure = QCoreApplication::translate("cd", "Erreur du serveur CDDB (HTTP %1)")
                            .arg(fetch.httpStatus());
        break;
    }
    return reply;
}

} // namespace cd
