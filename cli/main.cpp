#include "command.h"

#include <QCoreApplication>
#include <QTextStream>

static int usage()
{
    QTextStream err(stderr);
    err << "Utilisation : tarvex-cli COMMANDE [OPTIONS] FICHIER...\n\nCommandes :\n";
    for (const cli::Command &command : cli::commands())
        err << "  " << command.usage << "\n";
    return cli::UsageError;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvex-cli"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const cli::Command &command : cli::commands()) {
        if (name == QLatin1String(command.name))
            return command.run(args);
    }
    QTextStream(stderr) << "Commande inconnue : " << name << "\n";
    return usage();
}
