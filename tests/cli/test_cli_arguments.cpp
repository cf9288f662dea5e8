#include "cli/cli.h"
#include "support/test_home.h"

#include <functional>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::runCliProcess;

struct InProcess {
    int exit;
    QString out;
    QString err;
};

// The program run in this process: only for what ends before start-up (help, usage errors).
InProcess runHere(const QStringList& args) {
    InProcess r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.exit = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return r;
}

TEST(CliArguments, HelpListsEveryCommandAndEachCommandExplainsItself) {
    const InProcess help = runHere({u"--help"_s});
    ASSERT_EQ(help.exit, 0);
    for (const cli::Command& c : cli::commands()) {
        const QString name = c.decl.name;
        EXPECT_TRUE(help.out.contains(u"\n  "_s + name + u' ') || help.out.contains(u"\n  "_s + name + u'\n'))
            << name.toStdString();
        const InProcess own = runHere({name, u"--help"_s});
        EXPECT_EQ(own.exit, 0) << name.toStdString();
        EXPECT_TRUE(own.out.startsWith(u"usage: zenomur-cli "_s + name)) << own.out.toStdString();
        EXPECT_TRUE(own.out.contains(c.decl.summary)) << name.toStdString();
        for (const cli::OptionDecl& o : c.decl.options)
            EXPECT_TRUE(own.out.contains(u"--"_s + o.name)) << name.toStdString() << " --" << o.name.toStdString();
    }
    for (const auto* subs : {&cli::betsSubcommands(), &cli::patSubcommands()}) {
        for (const cli::Command& sub : *subs)
            EXPECT_TRUE(help.out.contains(sub.decl.name)) << sub.decl.name.toStdString();
    }
    EXPECT_TRUE(help.out.contains(u"bets --day yyyymmdd bulk [--path FILE]"_s));
    EXPECT_EQ(runHere({u"-h"_s}).out, help.out);
    const InProcess none = runHere({});
    EXPECT_EQ(none.exit, 2);
    EXPECT_EQ(none.err, help.out);
}

TEST(CliArguments, GlobalOptionErrors) {
    const struct {
        QStringList args;
        int exit;
        QString said;
    } cases[] = {
        {{u"--bogus"_s, u"days"_s}, 2, u"zenomur-cli: unknown option --bogus\n"_s},
        {{u"--home"_s}, 2, u"zenomur-cli: --home needs a value\n"_s},
        {{u"--config"_s, QString(), u"days"_s}, 2, u"zenomur-cli: --config needs a value\n"_s},
        {{u"--answer"_s, u"maybe"_s, u"days"_s}, 2, u"zenomur-cli: --answer takes yes, no or cancel\n"_s},
        {{u"--no"_s, u"frobnicate"_s}, 2, u"zenomur-cli: unknown command frobnicate (see --help)\n"_s},
        {{u"days"_s, u"extra"_s}, 2, u"usage: zenomur-cli days\n"_s},
        {{u"card"_s, u"20010915"_s, u"中山"_s}, 2, u"usage: zenomur-cli card DAY | card DAY VENUE RACE   (DAY as yyyymmdd, VENUE as 東京)\n"_s},
        {{u"import"_s, u"--bogus"_s}, 2, u"usage: zenomur-cli import ARCHIVE\n"_s},
    };
    for (const auto& c : cases) {
        const InProcess r = runHere(c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args.join(u' ').toStdString();
        EXPECT_EQ(r.err, c.said) << c.args.join(u' ').toStdString();
    }
    EXPECT_TRUE(runHere({u"--version"_s, u"--home"_s, QString()}).out.startsWith(u"zenomur-cli "_s));
}

class CliArgumentsWithHome : public ::testing::Test {
protected:
    test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{u"--home"_s, home.home(), u"--config"_s, home.configFile()} + args);
    }
    test::TestHome home;
};

TEST_F(CliArgumentsWithHome, EverySubcommandExplainsItself) {
    for (const auto& [parent, subs] : {std::pair{u"bets"_s, &cli::betsSubcommands()}, {u"pat"_s, &cli::patSubcommands()}}) {
        for (const cli::Command& sub : *subs) {
            const auto r = run({parent, u"--day"_s, u"20310309"_s, sub.decl.name, u"--help"_s});
            EXPECT_EQ(r.exitCode, 0) << sub.decl.name.toStdString() << r.err.toStdString();
            EXPECT_TRUE(r.out.startsWith(u"usage: zenomur-cli "_s + parent + u" --day yyyymmdd "_s + sub.decl.name))
                << r.out.toStdString();
        }
    }
}

// VENUE and DAY mean the same in every command; anything else is a usage error, and a good one
// gets past the parser.
TEST_F(CliArgumentsWithHome, VenueAndDayAreOneRuleForEveryCommand) {
    const QString day = u"20310309"_s;
    const QStringList badVenues = {u"大井"_s, u"10"_s, u"77"_s, u"4"_s, u"東京都"_s, QString()};
    const QStringList goodVenues = {u"中山"_s, u"05"_s};
    const std::vector<std::function<QStringList(const QString&)>> commands = {
        [&](const QString& v) { return QStringList{u"card"_s, day, v, u"1"_s}; },
        [&](const QString& v) { return QStringList{u"pat"_s, u"--day"_s, day, u"odds"_s, v, u"1"_s}; },
        [&](const QString& v) { return QStringList{u"bets"_s, u"--day"_s, day, u"add"_s, v, u"1"_s, u"--win"_s, u"1"_s}; },
    };
    for (const auto& command : commands) {
        for (const QString& v : badVenues) {
            const auto r = run(command(v));
            EXPECT_EQ(r.exitCode, 2) << command(v).join(u' ').toStdString();
            EXPECT_TRUE(r.err.startsWith(u"usage: "_s)) << r.err.toStdString();
        }
        for (const QString& v : goodVenues)
            EXPECT_NE(run(command(v)).exitCode, 2) << command(v).join(u' ').toStdString();
    }
    for (const QString& bad : {u"20310230"_s, u"2031039"_s, u"2031/03/09"_s}) {
        for (const QStringList& args : {QStringList{u"card"_s, bad}, {u"detail"_s, bad}, {u"bets"_s, u"--day"_s, bad, u"show"_s},
                                        {u"pat"_s, u"--day"_s, bad, u"results"_s}, {u"backtest"_s, u"--from"_s, bad},
                                        {u"delete-days"_s, bad + u"x"_s}})
            EXPECT_EQ(run(args).exitCode, 2) << args.join(u' ').toStdString();
    }
}

}  // namespace
}  // namespace zm
