#include "bets/pending_bet.h"
#include "codes/sjis.h"
#include "support/test_home.h"
#include "../bets/bet_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zm {
namespace {

using test::runCliProcess;

class CliBets : public ::testing::Test {
protected:
    QString home() const { return dir.path() + "/home"; }
    QStringList base() const { return {"--home", home(), "--config", dir.path() + "/z.ini"}; }
    test::CliRun run(const QStringList& args) { return runCliProcess(base() + args); }
    test::CliRun bets(const QStringList& args) { return run(QStringList{"bets", "--day", "20310309"} + args); }
    QString path() const { return home() + "/Data/~B20310309.TXT"; }
    QStringList lines() const { return test::readLines(path()); }
    // Every file under the home folder, so that no leftover can hide.
    QStringList allFiles() const {
        QStringList out;
        for (const char* sub : {"Data", "OutPut", "PAT", "Work", "MurData"})
            for (const QString& f : QDir(home() + "/" + QString(sub)).entryList(QDir::Files | QDir::Hidden))
                out << QString(sub) + "/" + f;
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(CliBets, ExitCodes) {
    const struct {
        QStringList args;
        int exit;
    } cases[] = {
        {{"bets", "show"}, 2},
        {{"bets", "--day", "20310230", "show"}, 2},
        {{"bets", "--day", "2031030", "show"}, 2},
        {{"bets", "--day", "20310309", "list"}, 2},
        {{"bets", "--day", "20310309", "add", "東京"}, 2},
        {{"bets", "--day", "20310309", "add", "東京都", "1"}, 2},
        {{"bets", "--day", "20310309", "add", "東京", "1", "--win", "1", "--win", "2", "--win", "3", "--win", "4"}, 2},
        {{"bets", "--day", "20310309", "add", "東京", "1", "--exacta", "1-2"}, 2},
        {{"bets", "--day", "20310309", "prune", "--min", "1"}, 2},
        {{"bets", "--day", "20310309", "prune", "--type", "三連単"}, 2},
        {{"bets", "--day", "20310309", "prune", "--no-odds", "maybe"}, 2},
        {{"bets", "--day", "20310309", "show"}, 1},
        {{"bets", "--day", "20310309", "totals"}, 1},
        {{"bets", "--day", "20310309", "sort"}, 1},
        {{"bets", "--day", "20310309", "dedupe"}, 1},
        {{"bets", "--day", "20310309", "merge"}, 1},
        {{"bets", "--day", "20310309", "odds"}, 1},
        {{"bets", "--day", "20310309", "prune", "--type", "単勝"}, 1},
        {{"bets", "--day", "20310309", "sakutto"}, 1},
        {{"bets", "--day", "20310309", "add", "東京", "1", "--picks"}, 1},  // no day files
    };
    for (const auto& c : cases) {
        const auto r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
    }
    EXPECT_EQ(allFiles(), QStringList{}) << "the commands above write nothing";
}

TEST_F(CliBets, AddWritesTheDialogsBufferOrderOrNothingWhenARowFails) {
    auto r = bets({"add", "04", "11", "--quinella", "12-5:500", "--bracket", "81:100000", "--win", "５",
                   "--place", "18:1000000"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(lines(), (QStringList{"東京,11R,単勝,    5,      ,  100円", "東京,11R,複勝,   18,      ,1000000円",
                                    "東京,11R,枠連,  1-8,      ,100000円", "東京,11R,馬連,05-12,      ,  500円"}));
    const QByteArray before = test::readBytes(path());
    const struct {
        QStringList args;
        QString named;  // part of the message
    } refused[] = {
        {{"--win", "3:1,000"}, "「3」（1,000）"},
        {{"--win", "3:150"}, "（150）"},
        {{"--win", "3:100000000"}, "（100000000）"},
        {{"--place", "19"}, "「19」"},
        {{"--win", "1", "--quinella", "3-3"}, "「3-3」"},
        {{"--quinella", "5-123"}, "「5-123」"},
        {{"--bracket", "8"}, "「8」"},
        {{}, "書き込む買い目がありません"},
    };
    for (const auto& c : refused) {
        r = bets(QStringList{"add", "東京", "11"} + c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_EQ(test::readBytes(path()), before) << c.args.join(' ').toStdString();
    }
    r = bets({"add", "東京", "13", "--win", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("13R")) << r.err.toStdString();
    r = bets({"show"});
    EXPECT_EQ(r.out.split('\n').first(), "東京,11R,単勝,    5,      ,  100円");
    r = bets({"totals"});
    EXPECT_EQ(r.out, "2031年 3月 9日 の保留ＢＥＴ内訳です…\n単勝 1 100\n複勝 1 1,000,000\n枠連 1 100,000\n馬連 1 500\n"
                     "ワイド 0 0\n合計ＢＥＴ数 4\n合計金額 1,100,600円\n");
    EXPECT_EQ(test::readBytes(path()), before);
    EXPECT_EQ(allFiles(), QStringList{"Data/~B20310309.TXT"});
}

// A pending-bet file no command can take: each command says why, exits 1 and leaves it as it is.
TEST_F(CliBets, HostileFilesAreRefusedByEveryCommandAndKept) {
    ASSERT_EQ(run({"settings", "set", "PAT", "Ver", "98"}).exitCode, 0);
    QDir().mkpath(home() + "/PAT");
    ASSERT_EQ(run({"settings", "set", "PAT", "PatDir", home() + "/PAT/"}).exitCode, 0);
    QDir().mkpath(home() + "/Data");
    const QByteArray good = toSjis(u"東京,1R,単勝,1,,100円\r\n");
    const struct {
        const char* what;
        QByteArray bytes;  // empty: made by special
        int special;       // 1 FIFO, 2 link to /dev/zero, 3 folder, 4 a sparse 100 MB file
    } files[] = {
        {"UTF-8", QByteArray("東京,1R,単勝,1,,100円\r\n"), 0},
        {"full-width commas", toSjis(u"東京，1R，単勝，1，，100円\r\n"), 0},
        {"seven fields", good + toSjis(u"東京,1R,単勝,1,,100円,\r\n"), 0},
        {"unknown venue", good + toSjis(u"館福,1R,単勝,1,,100円"), 0},
        {"huge stake", toSjis(u"東京,1R,単勝,1,,99999999999999999999円\r\n"), 0},
        {"floating-point stake", toSjis(u"東京,1R,単勝,1,,1e+05円\r\n"), 0},
        {"typo combination", toSjis(u"東京,1R,馬連,5-123,,100円\r\n"), 0},
        {"not Shift-JIS", good + "\x81\xff\r\n", 0},
        {"FIFO", {}, 1},
        {"/dev/zero", {}, 2},
        {"folder", {}, 3},
        {"100 MB", {}, 4},
    };
    const QList<QStringList> commands = {{"show"},   {"totals"}, {"sort"}, {"dedupe"},
                                         {"merge"},  {"odds"},   {"sakutto"},
                                         {"prune", "--type", "単勝", "--min", "1", "--max", "9"},
                                         {"add", "東京", "1", "--win", "2"}};
    for (const auto& f : files) {
        QFile::remove(path());
        QDir(path()).removeRecursively();
        switch (f.special) {
        case 1:
            ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
            break;
        case 2:
            ASSERT_TRUE(QFile::link("/dev/zero", path()));
            break;
        case 3:
            ASSERT_TRUE(QDir().mkpath(path()));
            break;
        case 4: {
            QFile big(path());
            ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(qint64(100) << 20));
            break;
        }
        default:
            test::writeBytes(path(), f.bytes);
        }
        const QByteArray before = f.special ? QByteArray() : test::readBytes(path());
        for (const QStringList& c : commands) {
            const auto r = run(QStringList{"--yes", "bets", "--day", "20310309"} + c);
            EXPECT_EQ(r.exitCode, 1) << f.what << ": " << c.join(' ').toStdString() << "\n" << r.err.toStdString();
            EXPECT_FALSE(r.err.trimmed().isEmpty()) << f.what << ": " << c.join(' ').toStdString();
            if (!f.special) {
                EXPECT_EQ(test::readBytes(path()), before) << f.what << ": " << c.join(' ').toStdString();
            }
        }
    }
    QFile::remove(path());
    QDir(path()).removeRecursively();
    EXPECT_EQ(QDir(home() + "/OutPut").entryList(QDir::Files), QStringList{});
}

TEST_F(CliBets, LineEndsOfAnyEditorAreReadAndAnAddStartsANewLine) {
    QDir().mkpath(home() + "/Data");
    test::writeBytes(path(), toSjis(u"東京,1R,単勝,1,,100円\r東京,1R,単勝,2,,100円\n東京,1R,単勝,3,,100円"));
    auto r = bets({"totals"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("合計ＢＥＴ数 3\n")) << r.out.toStdString();
    r = bets({"add", "東京", "1", "--win", "4:200"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(test::readBytes(path()).endsWith(toSjis(u"東京,1R,単勝,3,,100円\r\n東京, 1R,単勝,    4,      ,  200円\r\n")));
    EXPECT_TRUE(bets({"totals"}).out.contains("合計金額 500円"));
}

// On an imported day only its venues and races take bets.
TEST_F(CliBets, AddRefusesARaceTheDayDoesNotHave) {
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {"--home", home(), "--days", "1"});
    ASSERT_TRUE(sample.waitForFinished(60000));
    ASSERT_EQ(run({"import", home() + "/MurData/H261205.LZH"}).exitCode, 0);
    const QString day = "20261205";
    auto add = [&](const QStringList& args) { return run(QStringList{"bets", "--day", day, "add"} + args); };
    const struct {
        QStringList args;
        int exit;
        QString named;
    } cases[] = {
        {{"中山", "13", "--win", "1"}, 1, "13R"},
        {{"東京", "1", "--win", "1"}, 1, "東京"},
        {{"函館", "11", "--win", "1"}, 1, "函館"},
        {{"中山", "11", "--win", "1"}, 0, {}},
        {{"05", "12", "--quinella", "1-2:1000"}, 0, {}},
    };
    for (const auto& c : cases) {
        const auto r = add(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
    }
    EXPECT_EQ(test::readLines(home() + "/Data/~B" + day + ".TXT"),
              (QStringList{"中山,11R,単勝,    1,      ,  100円", "中山,12R,馬連,01-02,      , 1000円"}));
}

TEST_F(CliBets, OddsWithoutPatSettingsNamesTheSettingsCommand) {
    QDir().mkpath(home() + "/Data");
    test::writeBytes(path(), test::betBytes({"東京,1R,単勝,1,,100円"}));
    const QByteArray before = test::readBytes(path());
    for (const QStringList& setting : {QStringList{}, QStringList{"Ver", "98"}, QStringList{"PatDir", "/nonexistent/"}}) {
        if (!setting.isEmpty()) {
            ASSERT_EQ(run(QStringList{"settings", "set", "PAT"} + setting).exitCode, 0);
        }
        const auto r = bets({"odds"});
        EXPECT_EQ(r.exitCode, 1) << setting.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("zenomur-cli settings set PAT")) << r.err.toStdString();
        EXPECT_EQ(test::readBytes(path()), before);
    }
}

TEST_F(CliBets, QuestionsFollowTheAnswerFlags) {
    QDir().mkpath(home() + "/Data");
    test::writeBytes(path(), test::betBytes({"東京,2R,単勝,5,,100円", "東京,1R,単勝,5,,100円", "東京,1R,単勝,5,,200円"}));
    const QByteArray before = test::readBytes(path());
    for (const char* flag : {"--no", "--cancel"}) {
        const auto r = run(QStringList{flag, "bets", "--day", "20310309", "sort"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(test::readBytes(path()), before);
    }
    EXPECT_EQ(bets({"dedupe"}).exitCode, 0);  // no terminal: Cancel
    EXPECT_EQ(test::readBytes(path()), before);
    EXPECT_EQ(run({"--yes", "bets", "--day", "20310309", "merge"}).exitCode, 0);
    EXPECT_EQ(lines(), (QStringList{"東京, 2R,単勝  ,    5,      ,   100円", "東京, 1R,単勝  ,    5,      ,   300円"}));
    EXPECT_EQ(run({"--yes", "bets", "--day", "20310309", "sort"}).exitCode, 0);
    EXPECT_EQ(lines().first(), "東京, 1R,単勝  ,    5,      ,   300円");

    // prune: bounds as typed, the settings as stored, the backup beside the file.
    auto r = bets({"prune", "--type", "単勝", "--min", "0.5", "--max", "2", "--no-odds", "one"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("全て") || r.err.contains("すべて"));  // every bet is a target: nothing written
    test::writeBytes(path(), test::betBytes({"東京,1R,単勝,5,,100円", "東京,1R,複勝,5,,100円"}));
    r = bets({"prune", "--type", "単勝", "--min", "0.5", "--max", "2", "--no-odds", "one"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(), QStringList{"東京, 1R,複勝  ,    5,      ,   100円"});
    const QString ini = QString::fromUtf8(test::readBytes(dir.path() + "/z.ini"));
    EXPECT_FALSE(ini.contains("FLAG"));
    r = run({"settings", "get", "保留BET", "単勝オッズMIN"});
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(allFiles(), (QStringList{"Data/~B20310309.BAK", "Data/~B20310309.TXT"}));

    r = run({"--yes", "bets", "--day", "20310309", "sakutto"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(allFiles(), (QStringList{"Data/~B20310309.BAK", "OutPut/20310309_1.BET"}));
}

// A rewrite killed at any moment leaves the complete old file or the complete new one.
TEST_F(CliBets, KilledRewriteLeavesTheOldOrTheNewFile) {
    ASSERT_EQ(run({"settings", "set", "PAT", "Ver", "31"}).exitCode, 0);
    QDir().mkpath(home() + "/PAT");
    ASSERT_EQ(run({"settings", "set", "PAT", "PatDir", home() + "/PAT/"}).exitCode, 0);
    QDir().mkpath(home() + "/Data");
    QStringList l;
    for (int i = 0; i < 2048; ++i)
        l << QStringLiteral("東京,%1R,単勝,%2,      ,  100円").arg(i % 12 + 1).arg(i % 18 + 1);
    const QByteArray old = test::betBytes(l);
    test::writeBytes(path(), old);
    const QStringList args = base() + QStringList{"bets", "--day", "20310309", "odds"};
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(runCliProcess(args).exitCode, 0);
    const qint64 full = timer.nsecsElapsed() / 1000;
    const QByteArray fresh = test::readBytes(path());
    ASSERT_NE(fresh, old);
    int sawOld = 0;
    int sawNew = 0;
    for (int k = 0; k < 36; ++k) {
        test::writeBytes(path(), old);
        QProcess p;
        p.start(QStringLiteral(ZENOMUR_CLI_BINARY), args);
        ASSERT_TRUE(p.waitForStarted());
        QThread::usleep(static_cast<unsigned long>(full * k / 30));
        p.kill();
        p.waitForFinished();
        const QByteArray now = test::readBytes(path());
        ASSERT_TRUE(now == old || now == fresh) << "kill after " << full * k / 30 << " us";
        (now == old ? sawOld : sawNew) += 1;
    }
    EXPECT_GT(sawOld, 0);
}

}  // namespace
}  // namespace zm
