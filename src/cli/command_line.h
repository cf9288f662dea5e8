#pragma once

// The declarations the command line is parsed from and its help is written from. Every command
// (and every sub-command of `bets` and `pat`) is one CommandDecl: its options, its positional
// arguments, its usage line and what it does. Parsing is QCommandLineParser's; what it finds is
// handed to the command as ParsedArgs.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace zm::cli {

// An option, written --name. A valueName makes it take a value (--name VALUE or --name=VALUE);
// without one it is a switch.
struct OptionDecl {
    QString name;
    QString valueName;
    QString description;
};

// A positional argument as the help shows it ("DAY", "ARCHIVE", "[VENUE RACE]").
struct PositionalDecl {
    QString name;
    QString description;
};

// Where a command takes its options.
enum class OptionPlace {
    Anywhere,           // options and positional arguments in any order
    BeforePositionals,  // the first positional argument ends the options: the rest is passed on
                        // as it is (a sub-command's arguments, a value that starts with a dash)
};

struct CommandDecl {
    QString name;
    QString usage;    // the usage line(s) after "zenomur-cli ", shown on a usage error and by --help
    QString summary;  // one line for the list of commands
    std::vector<OptionDecl> options;
    std::vector<PositionalDecl> positionals;
    int minPositionals = 0;
    int maxPositionals = 0;  // -1: any number
    OptionPlace optionPlace = OptionPlace::Anywhere;
};

// What the parser found for one command.
class ParsedArgs {
public:
    const QStringList& positionals() const { return positionals_; }
    bool isSet(const QString& name) const { return count(name) > 0; }
    qsizetype count(const QString& name) const;
    // The value of the last --name given; empty when none was.
    QString value(const QString& name) const;
    QStringList values(const QString& name) const;
    // Every option in the order given with its value (empty for a switch).
    const std::vector<std::pair<QString, QString>>& ordered() const { return ordered_; }
    bool helpAsked() const { return help_; }

private:
    friend std::optional<ParsedArgs> parseArguments(const CommandDecl&, const QStringList&, QString*);
    QStringList positionals_;
    std::vector<std::pair<QString, QString>> ordered_;
    bool help_ = false;
};

// Parses the arguments after the command's name. Nothing, with the problem in *problem, for an
// unknown option, an option without its value, or too few or too many positional arguments;
// --help (or -h) is taken in any case and ends the checks.
std::optional<ParsedArgs> parseArguments(const CommandDecl& decl, const QStringList& args, QString* problem = nullptr);

// The help of one command: its usage, what it does, its arguments and its options.
QString commandHelp(const CommandDecl& decl);

// A sub-command's usage lines under a common prefix ("bets --day yyyymmdd "): one line each, the
// sub-commands that take no arguments together on one line.
QString subcommandUsage(const QString& prefix, const std::vector<const CommandDecl*>& subs);

}  // namespace zm::cli
