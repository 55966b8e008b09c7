#include "base/process.h"
#include "base/translation.h"
#include "command.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

void printUsage(QTextStream &out)
{
    out << QCoreApplication::translate(
        "cli", "Utilisation : tarvex-cli COMMANDE [OPTIONS] FICHIER...\n"
               "              tarvex-cli COMMANDE --help | help [COMMANDE] | --version\n\n"
               "Commandes :\n");
    for (const cli::Command &command : cli::commands())
        out << "  " << QCoreApplication::translate("cli", command.usage) << "\n";
}

const cli::Command *findCommand(const QString &name)
{
    for (const cli::Command &command : cli::commands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

// "--help" among the options of a command, before any "--".
bool asksForHelp(const QStringList &args)
{
    for (const QString &arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--help"))
            return true;
    }
    return false;
}

int commandHelp(const cli::Command &command)
{
    QTextStream(stdout) << QCoreApplication::translate("cli", "Utilisation : tarvex-cli %1")
                               .arg(QCoreApplication::translate("cli", command.usage))
                        << "\n";
    return cli::AllSucceeded;
}

} // namespace

int main(int argc, char *argv[])
{
    base::prepareProcess();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvex-cli"));
    base::installTranslation();
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream err(stderr);
        printUsage(err);
        return cli::UsageError;
    }
    QString name = args.takeFirst();
    if (name == QLatin1String("--version")) {
        QTextStream(stdout) << "tarvex-cli " << TARVEX_VERSION << "\n";
        return cli::AllSucceeded;
    }
    const bool help = name == QLatin1String("--help") || name == QLatin1String("-h") ||
                      name == QLatin1String("help");
    if (help && args.isEmpty()) {
        QTextStream out(stdout);
        printUsage(out);
        return cli::AllSucceeded;
    }
    if (help) { // "help COMMANDE" is "COMMANDE --help"
        name = args.takeFirst();
        args = QStringList{QStringLiteral("--help")};
    }
    if (const cli::Command *command = findCommand(name))
        return asksForHelp(args) ? commandHelp(*command) : command->run(args);
    QTextStream err(stderr);
    err << QCoreApplication::translate("cli", "Commande inconnue : %1").arg(name) << "\n";
    printUsage(err);
    return cli::UsageError;
}
