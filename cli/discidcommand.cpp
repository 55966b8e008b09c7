// tarvex-cli discid: the CDDB disc ID and query text of a disc image or a drive.
#include "command.h"

#include "cd/cdinfo.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {

const char usageText[] =
    QT_TRANSLATE_NOOP("cli", "discid (--cd-image=FICHIER | --lecteur=PERIPHERIQUE)");

int run(const QStringList &args)
{
    const cli::Arguments arguments = cli::parseArguments(args, {"--cd-image=", "--lecteur="});
    QString error;
    const QString drive = cli::driveOption(arguments, &error);
    if (!error.isEmpty() || drive.isEmpty())
        return cli::usageError(error, usageText);

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
    cli::printJson(QJsonDocument(out));
    return cli::AllSucceeded;
}

const cli::Registration registration({"discid", usageText, run});

} // namespace
