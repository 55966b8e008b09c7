// tarvex-cli discid: the CDDB disc ID and query text of a disc image or a drive.
#include "command.h"

#include "cd/cdinfo.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

const char usageText[] = "discid (--cd-image=FICHIER | --lecteur=PERIPHERIQUE)";

int run(const QStringList &args)
{
    QString drive;
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1String("--cd-image=")) && drive.isEmpty())
            drive = arg.mid(11);
        else if (arg.startsWith(QLatin1String("--lecteur=")) && drive.isEmpty())
            drive = arg.mid(10);
        else {
            QTextStream(stderr) << "Option inconnue : " << arg << "\nUtilisation : tarvex-cli "
                                << usageText << "\n";
            return cli::UsageError;
        }
    }
    if (drive.isEmpty()) {
        QTextStream(stderr) << "Utilisation : tarvex-cli " << usageText << "\n";
        return cli::UsageError;
    }

    clsCdInfo info;
    info.Init(drive);
    QString message;
    const QString query = info.QueryString(&message);
    if (query.isEmpty()) {
        QTextStream(stderr) << message << " (" << drive << ")\n";
        return cli::SomeFailed;
    }
    const QJsonObject out{{QStringLiteral("discid"), info.DiscID()},
                          {QStringLiteral("query"), query}};
    QFile stdoutFile;
    if (!stdoutFile.open(stdout, QIODevice::WriteOnly))
        return cli::SomeFailed;
    stdoutFile.write(QJsonDocument(out).toJson(QJsonDocument::Indented));
    return cli::AllSucceeded;
}

const cli::Registration registration({"discid", usageText, run});

} // namespace
