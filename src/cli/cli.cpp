#include "cli/cli.h"

#include "codes/sjis.h"

#include "app/file_names.h"
#include "app/startup.h"
#include "cli/cli_prompter.h"
#include "zenomur_version.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <unistd.h>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// Progress on a terminal: one line, rewritten in place.
class TerminalProgress : public ProgressSink {
public:
    explicit TerminalProgress(QTextStream& err) : err_(err) {}
    ~TerminalProgress() override {
        if (shown_) {
            err_ << Qt::endl;
        }
    }

    void setCaption(const QString& caption) override {
        if (shown_) {
            err_ << Qt::endl;
        }
        err_ << caption << Qt::endl;
        shown_ = false;
    }
    void setLabel(const QString& text, int) override {
        label_ = text;
        draw();
    }
    void setBatchStep(int step, int steps, const QString& item) override {
        step_ = steps > 0 ? QStringLiteral("[%1/%2 %3] ").arg(step).arg(steps).arg(item) : QString();
    }
    void setPercent(double percent) override {
        const int p = static_cast<int>(qBound(0.0, percent, 100.0));
        if (p != percent_) {
            percent_ = p;
            draw();
        }
    }

private:
    void draw() {
        err_ << "\r\x1b[2K" << step_ << label_ << u' ' << percent_ << u'%' << Qt::flush;
        shown_ = true;
    }

    QTextStream& err_;
    QString step_;  // "[3/24 hb261205.lzh] " in a batch
    QString label_;
    int percent_ = -1;
    bool shown_ = false;
};

const QString kGlobalUsage =
    u"usage: zenomur-cli [--home DIR] [--config FILE] [--yes|--no|--cancel] [--answer A]... COMMAND ...\n"
    u"       zenomur-cli --version | --help\n"
    u"       zenomur-cli COMMAND --help\n"_s;

// The options before the command.
const CommandDecl& globalDecl() {
    static const CommandDecl decl{
        u"zenomur-cli"_s,
        {},
        {},
        {{u"home"_s, u"DIR"_s, u"the program folder (default: $ZENOMUR_HOME, else ~/.local/share/zenomur)"_s},
         {u"config"_s, u"FILE"_s, u"the settings file (default: $ZENOMUR_CONFIG, else ~/.config/zenomur/zenomur.ini)"_s},
         {u"yes"_s, {}, u"answer Yes/OK to every question (overwrite where asked)"_s},
         {u"no"_s, {}, u"answer No (append where asked)"_s},
         {u"cancel"_s, {}, u"answer Cancel"_s},
         {u"answer"_s, u"A"_s,
          u"answer the next question (yes, no or cancel); repeat it for each question in the order they are "
          u"asked; a question left over takes its safe answer"_s},
         {u"version"_s, {}, u"print the version"_s}},
        {{u"COMMAND ..."_s, u"the command and its arguments"_s}},
        0,
        -1,
        OptionPlace::BeforePositionals};
    return decl;
}

void printHelp(QTextStream& out) {
    const QString options = commandHelp(globalDecl()).section(u"options:\n"_s, 1);
    out << kGlobalUsage << u"\noptions:\n"_s << options << u"\ncommands:\n"_s;
    for (const Command& c : commands()) {
        QString usage = c.decl.usage;
        usage.replace(u"\n       "_s, u"\n  "_s);
        out << "  " << usage << "\n      " << c.decl.summary << '\n';
    }
    out << "\nexit codes: 0 done, 1 stopped with a message, 2 usage error\n";
    out.flush();
}

// The option a parse stopped at, as it was typed.
QString typedOption(const QStringList& arguments, const QString& name) {
    for (const QString& a : arguments) {
        if (a == u"--"_s + name || a.startsWith(u"--"_s + name + u'='))
            return u"--"_s + name;
    }
    return u'-' + name;
}

// Says what is wrong with the global options: an unknown one, or one without its value.
void reportGlobalProblem(const QStringList& arguments, QTextStream& err) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    for (const OptionDecl& o : globalDecl().options)
        parser.addOption(QCommandLineOption(o.name, o.description, o.valueName));
    parser.parse(QStringList{u"zenomur-cli"_s} + arguments);
    if (!parser.unknownOptionNames().isEmpty())
        err << "zenomur-cli: unknown option " << typedOption(arguments, parser.unknownOptionNames().first()) << Qt::endl;
    else
        err << "zenomur-cli: " << arguments.last() << " needs a value" << Qt::endl;
}

struct GlobalOptions {
    StartOptions start;
    CliPrompter::Preset preset = CliPrompter::Preset::None;
    std::optional<std::deque<CliPrompter::Preset>> answers;
};

CliPrompter::Preset presetOf(const QString& name) {
    return name == u"yes"  ? CliPrompter::Preset::Yes
           : name == u"no" ? CliPrompter::Preset::No
                           : CliPrompter::Preset::Cancel;
}

// The global options in the order given; the exit code when the program ends here (--version,
// a wrong option).
std::optional<int> takeGlobals(const ParsedArgs& parsed, GlobalOptions& g, QTextStream& out, QTextStream& err) {
    for (const auto& [name, value] : parsed.ordered()) {
        if (name == u"version") {
            out << "zenomur-cli " << ZENOMUR_VERSION << Qt::endl;
            return kExitOk;
        }
        // An empty value (an unset shell variable) must not quietly mean the default folder.
        if ((name == u"home" || name == u"config" || name == u"answer") && value.isEmpty()) {
            err << "zenomur-cli: --" << name << " needs a value" << Qt::endl;
            return kExitUsage;
        }
        if (name == u"home") {
            g.start.home = value;
        } else if (name == u"config") {
            g.start.config = value;
        } else if (name == u"answer") {
            if (value != u"yes" && value != u"no" && value != u"cancel") {
                err << "zenomur-cli: --answer takes yes, no or cancel" << Qt::endl;
                return kExitUsage;
            }
            if (!g.answers)
                g.answers.emplace();
            g.answers->push_back(presetOf(value));
        } else if (name == u"yes" || name == u"no" || name == u"cancel") {
            g.preset = presetOf(name);
        }
    }
    return std::nullopt;
}

// Parses the global options; the exit code when the program ends here (help, version, an error).
std::optional<int> parseGlobals(const QStringList& arguments, GlobalOptions& g, QStringList& rest, QTextStream& out,
                                QTextStream& err) {
    const auto parsed = parseArguments(globalDecl(), arguments);
    if (parsed && parsed->helpAsked()) {
        printHelp(out);
        return kExitOk;
    }
    if (!parsed) {
        reportGlobalProblem(arguments, err);
        return kExitUsage;
    }
    if (const auto stop = takeGlobals(*parsed, g, out, err))
        return stop;
    rest = parsed->positionals();
    if (rest.isEmpty()) {
        printHelp(err);
        return kExitUsage;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> archiveArgument(CliEnv& env, const QString& arg) {
    if (!isFileEntry(arg)) {
        env.err << "zenomur-cli: no such archive: " << escapeControls(arg) << Qt::endl;
        return std::nullopt;
    }
    return QFileInfo(arg).absoluteFilePath();
}

int usageError(CliEnv& env, const QString& text) {
    env.err << "usage: zenomur-cli " << text << Qt::endl;
    return kExitUsage;
}

int showFailure(CliEnv& env, const Status& failure) {
    showNotice(env, failure.notice());
    return kExitStopped;
}

void showNotice(CliEnv& env, const Notice& notice) {
    if (!notice.empty())
        env.err << escapeControls(notice.text) << Qt::endl;
}

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    GlobalOptions globals;
    QStringList words;
    if (const auto stop = parseGlobals(arguments, globals, words, out, err))
        return *stop;
    const QString name = words.first();
    const Command* command = nullptr;
    for (const Command& c : commands()) {
        if (name == c.decl.name)
            command = &c;
    }
    if (!command) {
        err << "zenomur-cli: unknown command " << name << " (see --help)" << Qt::endl;
        return kExitUsage;
    }
    const auto parsed = parseArguments(command->decl, words.mid(1));
    if (parsed && parsed->helpAsked()) {
        out << escapeControls(commandHelp(command->decl));
        out.flush();
        return kExitOk;
    }
    if (!parsed) {
        err << "usage: zenomur-cli " << command->decl.usage << Qt::endl;
        return kExitUsage;
    }

    const bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
    CliPrompter prompter(globals.preset, err, terminal);
    if (globals.answers) {
        prompter.setAnswers(std::move(*globals.answers));
    }
    AppSession::Status status{};
    QString message;
    auto session = AppSession::StartUp(globals.start, prompter, status, message);
    if (!session) {
        err << message << Qt::endl;
        return kExitStopped;
    }
    TerminalProgress progress(err);
    // What a command prints may carry bytes of the service's files: it reaches the terminal
    // with its control characters escaped.
    QString produced;
    QTextStream producedStream(&produced);
    CliEnv env{session->context(), producedStream, err, static_cast<bool>(isatty(STDERR_FILENO))};
    if (env.stderrIsTerminal) {
        env.ctx.progress = &progress;
    }
    // A settings store that could not be used and a failed recovery of the day's files are said;
    // the command runs all the same.
    showNotice(env, session->settingsLoad().notice());
    showNotice(env, session->recovery().notice());
    const int rc = command->run(env, Call{*parsed, command->decl.usage, QString()});
    env.ctx.progress = nullptr;
    producedStream.flush();
    out << escapeControls(produced);
    out.flush();
    err.flush();
    return rc;
}

}  // namespace zm::cli
