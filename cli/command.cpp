#include "command.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace cli {

static std::vector<Command> &registry()
{
    static std::vector<Command> all;
    return all;
}

void registerCommand(const Command &command)
{
    registry().push_back(command);
}

const std::vector<Command> &commands()
{
    return registry();
}

bool Arguments::has(const QString &option) const
{
    return std::any_of(options.cbegin(), options.cend(),
                       [&](const auto &given) { return given.first == option; });
}

QString Arguments::value(const QString &option) const
{
    for (auto given = options.crbegin(); given != options.crend(); ++given) {
        if (given->first == option)
            return given->second;
    }
    return {};
}

Arguments parseArguments(const QStringList &args, const QStringList &known)
{
    Arguments out;
    bool options = true;
    for (const QString &arg : args) {
        if (!options || !arg.startsWith(QLatin1Char('-')) || arg.size() == 1) {
            out.files.append(arg);
        } else if (arg == QLatin1String("--")) {
            options = false;
        } else if (known.contains(arg)) {
            out.options.append({arg, QString()});
        } else {
            const qsizetype equals = arg.indexOf(QLatin1Char('='));
            const QString name = arg.left(equals + 1);
            if (equals > 0 && known.contains(name))
                out.options.append({name, arg.mid(equals + 1)});
            else if (out.error.isEmpty())
                out.error =
                    known.contains(arg + u'=')
                        ? QCoreApplication::translate("cli", "Valeur manquante pour %1 (%1=VALEUR)")
                              .arg(arg)
                        : QCoreApplication::translate("cli", "Option inconnue : %1").arg(arg);
        }
    }
    return out;
}

QString driveOption(const Arguments &arguments, QString *error, bool filesAllowed)
{
    *error = arguments.error;
    QString drive;
    for (const auto &[name, value] : arguments.options) {
        if (name != QLatin1String("--cd-image=") && name != QLatin1String("--lecteur="))
            continue;
        if (!drive.isEmpty() && error->isEmpty())
            *error = QCoreApplication::translate("cli", "Un seul disque à la fois.");
        drive = value;
    }
    if (!filesAllowed && !arguments.files.isEmpty() && error->isEmpty())
        *error = QCoreApplication::translate("cli", "Argument inattendu : %1")
                     .arg(arguments.files.first());
    return drive;
}

int choiceOption(const Arguments &arguments, QString *error)
{
    if (!arguments.has(QStringLiteral("--choix=")))
        return 0;
    const QString given = arguments.value(QStringLiteral("--choix="));
    const int choice = given.toInt();
    if (choice < 1)
        *error = QCoreApplication::translate("cli", "Choix invalide : %1 (un numéro à partir de 1)")
                     .arg(given);
    return choice;
}

int usageError(const QString &why, const char *usage)
{
    QTextStream err(stderr);
    if (!why.isEmpty())
        err << why << "\n";
    err << QCoreApplication::translate("cli", "Utilisation : tarvex-cli %1")
               .arg(QCoreApplication::translate("cli", usage))
        << "\n";
    return UsageError;
}

int failure(const QString &message)
{
    QTextStream(stderr) << message << "\n";
    return SomeFailed;
}

void printJson(const QJsonDocument &document)
{
    QFile out;
    if (out.open(stdout, QIODevice::WriteOnly))
        out.write(document.toJson(QJsonDocument::Indented));
}

static void writeOut(QByteArrayView text)
{
    std::fwrite(text.data(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

JsonArrayWriter::JsonArrayWriter()
{
    writeOut("[\n");
}

void JsonArrayWriter::append(const QJsonObject &element)
{
    // Inside the array every line of the element is indented one level deeper than alone.
    QByteArray text = QJsonDocument(element).toJson(QJsonDocument::Indented);
    text.chop(1); // the final newline
    text.replace("\n", "\n    ");
    text.prepend(m_empty ? "    " : ",\n    ");
    m_empty = false;
    writeOut(text);
}

void JsonArrayWriter::finish()
{
    writeOut(m_empty ? "]\n" : "\n]\n");
}

} // namespace cli
