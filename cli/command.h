#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

namespace cli {

// Exit statuses shared by every sub-command.
enum ExitStatus { AllSucceeded = 0, SomeFailed = 1, UsageError = 2 };

// A sub-command of tarvex-cli: its name, a one-line French usage text and its entry point,
// which receives the arguments that follow the sub-command's name.
struct Command
{
    const char *name;
    const char *usage;
    std::function<int(const QStringList &args)> run;
};

// Each sub-command file registers itself with a static Registration object.
void registerCommand(const Command &command);
const std::vector<Command> &commands();

struct Registration
{
    explicit Registration(const Command &command) { registerCommand(command); }
};

// A sub-command's arguments: its options, in the order given, and the other arguments.
struct Arguments
{
    QList<std::pair<QString, QString>> options; // "--name" or "--name=" -> value
    QStringList files;
    QString error; // French, empty when every option is known

    bool has(const QString &option) const;
    QString value(const QString &option) const; // the last value given
};

// Splits `args` into options and files. `known` lists the accepted options: "--flag" alone,
// or "--name=" for an option with a value. Every argument that starts with "-" before a "--"
// is an option.
Arguments parseArguments(const QStringList &args, const QStringList &known);

// The disc named by --cd-image=FICHIER or --lecteur=PERIPHERIQUE, or an empty text. `error`
// gets the first fault of the arguments: an unknown option, a second disc, or (unless
// `filesAllowed`) an argument that is not an option.
QString driveOption(const Arguments &arguments, QString *error, bool filesAllowed = false);

// The entry chosen with --choix=N (from 1), 0 when the option is absent; `error` gets the
// fault of a value that is not a number from 1.
int choiceOption(const Arguments &arguments, QString *error);

// Prints `why` (when there is one) and the command's usage on standard error.
int usageError(const QString &why, const char *usage);

// Prints `message` on standard error; the status of a command that failed.
int failure(const QString &message);

// Writes a JSON document, indented and in UTF-8, on standard output.
void printJson(const QJsonDocument &document);

// Writes a JSON array on standard output one element at a time, as soon as it is known, so that
// the answer about many files is never held whole in memory. The text is the one printJson
// gives for the same array.
class JsonArrayWriter
{
public:
    JsonArrayWriter();
    void append(const QJsonObject &element);
    void finish();

private:
    bool m_empty = true;
};

} // namespace cli
