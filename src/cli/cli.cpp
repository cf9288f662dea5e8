#include "cli/cli.h"

#include "codes/sjis.h"

#include "app/file_names.h"
#include "app/startup.h"
#include "cli/cli_prompter.h"
#include "zenomur_version.h"

#include <QFileInfo>

#include <unistd.h>

namespace zm::cli {

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
    void setLabel(const QString& text, Rgb) override {
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

void printHelp(QTextStream& out) {
    out << "usage: zenomur-cli [--home DIR] [--config FILE] [--yes|--no|--cancel] [--answer A]... COMMAND ...\n"
           "       zenomur-cli --version | --help\n\n"
           "options:\n"
           "  --home DIR     the program folder (default: $ZENOMUR_HOME, else ~/.local/share/zenomur)\n"
           "  --config FILE  the settings file (default: $ZENOMUR_CONFIG, else ~/.config/zenomur/zenomur.ini)\n"
           "  --yes          answer Yes/OK to every question (overwrite where asked)\n"
           "  --no           answer No (append where asked)\n"
           "  --cancel       answer Cancel\n"
           "  --answer A     answer the next question (yes, no or cancel); repeat it for each question\n"
           "                 in the order they are asked; a question left over takes its safe answer\n\n"
           "commands:\n";
    for (const Command& c : commands()) {
        out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    }
    out << "\nexit codes: 0 done, 1 stopped with a message, 2 usage error\n";
    out.flush();
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

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    StartOptions options;
    auto preset = CliPrompter::Preset::None;
    std::optional<std::deque<CliPrompter::Preset>> answers;
    int i = 0;
    auto needValue = [&](const QString& option) -> std::optional<QString> {
        // An empty value (an unset shell variable) must not quietly mean the default folder.
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
            err << "zenomur-cli: " << option << " needs a value" << Qt::endl;
            return std::nullopt;
        }
        return arguments[++i];
    };
    for (; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == u"--home") {
            auto v = needValue(a);
            if (!v) {
                return kExitUsage;
            }
            options.home = *v;
        } else if (a == u"--config") {
            auto v = needValue(a);
            if (!v) {
                return kExitUsage;
            }
            options.config = *v;
        } else if (a == u"--yes") {
            preset = CliPrompter::Preset::Yes;
        } else if (a == u"--no") {
            preset = CliPrompter::Preset::No;
        } else if (a == u"--cancel") {
            preset = CliPrompter::Preset::Cancel;
        } else if (a == u"--answer") {
            auto v = needValue(a);
            if (!v) {
                return kExitUsage;
            }
            if (*v != u"yes" && *v != u"no" && *v != u"cancel") {
                err << "zenomur-cli: --answer takes yes, no or cancel" << Qt::endl;
                return kExitUsage;
            }
            if (!answers) {
                answers.emplace();
            }
            answers->push_back(*v == u"yes"  ? CliPrompter::Preset::Yes
                               : *v == u"no" ? CliPrompter::Preset::No
                                             : CliPrompter::Preset::Cancel);
        } else if (a == u"--version") {
            out << "zenomur-cli " << ZENOMUR_VERSION << Qt::endl;
            return kExitOk;
        } else if (a == u"--help" || a == u"-h") {
            printHelp(out);
            return kExitOk;
        } else if (a.startsWith(u"--")) {
            err << "zenomur-cli: unknown option " << a << Qt::endl;
            return kExitUsage;
        } else {
            break;
        }
    }
    if (i >= arguments.size()) {
        printHelp(err);
        return kExitUsage;
    }
    const QString name = arguments[i];
    const QStringList args = arguments.mid(i + 1);
    const Command* command = nullptr;
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name)) {
            command = &c;
        }
    }
    if (!command) {
        err << "zenomur-cli: unknown command " << name << " (see --help)" << Qt::endl;
        return kExitUsage;
    }

    const bool terminal = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
    CliPrompter prompter(preset, err, terminal);
    if (answers) {
        prompter.setAnswers(std::move(*answers));
    }
    AppSession::Status status{};
    QString message;
    auto session = AppSession::StartUp(options, prompter, status, message);
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
    const int rc = command->run(env, args);
    env.ctx.progress = nullptr;
    producedStream.flush();
    out << escapeControls(produced);
    out.flush();
    err.flush();
    return rc;
}

}  // namespace zm::cli
