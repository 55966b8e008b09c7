#pragma once

#include <QStringList>

#include <functional>

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

} // namespace cli
