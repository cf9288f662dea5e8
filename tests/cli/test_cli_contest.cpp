#include "../bets/bet_files.h"
#include "../card/day_builder.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::runCliProcess;

class CliContest : public ::testing::Test {
protected:
    QString home() const { return dir.path() + "/home"; }
    QStringList base() const { return {"--home", home(), "--config", dir.path() + "/z.ini"}; }
    test::CliRun run(const QStringList& args) { return runCliProcess(base() + args); }
    test::CliRun bets(const QStringList& global, const QStringList& args) {
        return run(global + QStringList{"bets", "--day", "20310309"} + args);
    }
    QString betPath() const { return home() + "/Data/~B20310309.TXT"; }
    QString postPath() const { return home() + "/OutPut/的中会20310309.TXT"; }
    QString lstPath() const { return home() + "/OutPut/20310309.lst"; }
    void writeBets(const QStringList& lines) {
        QDir().mkpath(home() + "/Data");
        test::writeBytes(betPath(), test::betBytes(lines));
    }
    QString writePost(const QString& text, bool utf8 = false) {
        const QString path = dir.path() + "/post.txt";
        test::writeBytes(path, utf8 ? text.toUtf8() : toSjis(text));
        return path;
    }
    QString version() { return run({"--version"}).out.trimmed().section(' ', 1); }

    QTemporaryDir dir;
};

TEST_F(CliContest, UsageAndStops) {
    writeBets({});
    const struct {
        QStringList args;
        int exit;
    } cases[] = {
        {{"tekichukai-out"}, 2},
        {{"tekichukai-out", "--file", "--stdout"}, 2},
        {{"tekichukai-out", "--wide"}, 2},
        {{"tekichukai-out", "--file", "--file"}, 2},
        {{"tekichukai-in"}, 2},
        {{"tekichukai-in", "x", "--fixed", "三連単:100"}, 2},
        {{"tekichukai-in", "x", "--fixed"}, 2},
        {{"voterobo", "now"}, 2},
        {{"tekichukai-out", "--stdout"}, 1},  // an empty pending-bet file: no post
        {{"tekichukai-in", "/nonexistent"}, 1},
    };
    for (const auto& c : cases) {
        const auto r = bets({}, c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, u""_s);
    }
    QFile::remove(betPath());
    EXPECT_EQ(bets({}, {"tekichukai-out", "--file"}).exitCode, 1);
    EXPECT_EQ(bets({}, {"voterobo"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(postPath()));
}

TEST_F(CliContest, PostOnStdoutAndInTheFile) {
    writeBets({u"東京,11R,馬連  ,05-12,      ,  500円"_s, u"中山, 1R,枠連  ,  1-8,      , 1000円"_s});
    const QString expected =
        u"--- 2031年03月09日(日) の『的中会』投票---\n\n"
        u"#,20310309,東京,11R,ワ, 5-12,   500\n#,20310309,中山, 1R,枠, 1- 8,  1000\n\n"
        u"     《 ２ベット  1,500円購入 》\n"_s;
    const auto r = bets({}, {"tekichukai-out", "--wide", "--stdout"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString versionLine = r.out.split('\n').value(6);
    EXPECT_EQ(r.out, expected + versionLine + u"\n"_s);
    EXPECT_TRUE(versionLine.startsWith(u"--- Output by「ゼノゼノＭＵＲ Ver"_s + version() + u"」"_s));
    EXPECT_EQ(ByteLength(versionLine), 42);

    ASSERT_EQ(bets({}, {"tekichukai-out", "--file"}).exitCode, 0);
    QString file = fromSjis(test::readBytes(postPath()));
    EXPECT_TRUE(file.contains(u",馬, 5-12"_s));
    file.replace(u",馬,"_s, u",ワ,"_s);
    EXPECT_EQ(file, QString(r.out).replace(u"\n"_s, u"\r\n"_s));
}

TEST_F(CliContest, ThreeHundredAndOneBetsAreRefused) {
    QStringList lines;
    for (int i = 0; i < 301; ++i)
        lines << u"東京,11R,単勝  ,    5,      ,  100円"_s;
    writeBets(lines);
    auto r = bets({}, {"tekichukai-out", "--stdout"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, u""_s);
    EXPECT_TRUE(r.err.contains(u"BET数が300を超えています。"_s));
    r = bets({}, {"tekichukai-out", "--file"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFile::exists(postPath()));
    lines.removeLast();
    writeBets(lines);
    EXPECT_EQ(bets({}, {"tekichukai-out", "--file"}).exitCode, 0);
}

TEST_F(CliContest, ImportAnswersInOrder) {
    const QString post = writePost(u"#,20310309,TKY,11R,U,5-12,500\r\n#,20310309,京都,1R,t,3,300\r\n"_s);
    // Declined: exit 1, nothing written.
    auto r = bets({"--answer", "no"}, {"tekichukai-in", post});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"2BET  800円  の買い目がありますが保留ＢＥＴに出力しますか？"_s))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(betPath()));
    // A fixed amount must itself be a stake.
    for (const char* fixed : {"単勝:250", "単勝:50", "単勝:99999999999999999999999", "単勝:1,000"}) {
        r = bets({"--yes"}, {"tekichukai-in", post, "--fixed", fixed});
        EXPECT_EQ(r.exitCode, 1) << fixed;
        EXPECT_FALSE(QFile::exists(betPath())) << fixed;
    }
    r = bets({"--answer", "yes"}, {"tekichukai-in", post, "--fixed", "単勝:200"});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList first = {u"東京,11R,馬連  ,05-12,      ,  500円"_s, u"京都, 1R,単勝  ,    3,      ,  200円"_s};
    EXPECT_EQ(test::readLines(betPath()), first);
    // Yes, then No: appended.
    r = bets({"--answer", "yes", "--answer", "no"}, {"tekichukai-in", post});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(test::readLines(betPath()).size(), 4);
    // Yes and no second answer: Cancel, the file stays, exit 1.
    r = bets({"--answer", "yes"}, {"tekichukai-in", post});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(test::readLines(betPath()).size(), 4);
    // --yes answers both: replaced.
    r = bets({"--yes"}, {"tekichukai-in", post});
    EXPECT_EQ(test::readLines(betPath()).size(), 2);
    // No valid line: exit 1 without a question.
    r = bets({"--yes"}, {"tekichukai-in", writePost(u"#,20310309,TKY,13R,U,5-12,500\r\n"_s)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"正規の投票はありませんでした！"_s));
    EXPECT_EQ(test::readLines(betPath()).size(), 2);
    // A UTF-8 post.
    QFile::remove(betPath());
    r = bets({"--yes"}, {"tekichukai-in", writePost(u"あ\n#,20310309,ＴＫＹ,１１Ｒ,Ｋ,５ー１２,300\n"_s, true)});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(test::readLines(betPath()), QStringList{u"東京,11R,ワイド,05-12,      ,  300円"_s});
}

// Posts that are not what they should be: each is a message and exit 1 (or, for lines, a count
// of what was passed over), never a hang, and the pending-bet file stays byte for byte.
TEST_F(CliContest, HostilePosts) {
    const QByteArray before = test::betBytes({u"中山,11R,単勝  ,    3,      ,  100円"_s});
    QDir().mkpath(home() + "/Data");
    const QString fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = dir.path() + "/big.txt";
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(100) << 20));
    }
    const struct {
        const char* name;
        QString path;
    } files[] = {
        {"FIFO", fifo},
        {"/dev/zero", u"/dev/zero"_s},
        {"folder", dir.path()},
        {"100 MB", big},
        {"missing", dir.path() + "/none.txt"},
        {"another day only", writePost(u"#,20310310,TKY,11R,U,5-12,500\r\n"_s)},
        {"huge stake", writePost(u"#,20310309,TKY,11R,U,5-12,99999999999999999999\r\n"_s)},
        {"stake not in hundreds", writePost(u"#,20310309,TKY,11R,U,5-12,123456\r\n"_s)},
        {"typo combinations", writePost(u"#,20310309,TKY,11R,U,5-123,500\r#,20310309,TKY,11R,U,1-2-3,500\r"_s)},
        {"unknown venue", writePost(u"#,20310309,館福,11R,U,5-12,500\n"_s)},
        {"eight fields", writePost(u"#,20310309,東京,X,11R,U,5-12,500\n"_s)},
    };
    for (const auto& c : files) {
        SCOPED_TRACE(c.name);
        test::writeBytes(betPath(), before);
        const auto r = bets({"--yes"}, {"tekichukai-in", c.path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(test::readBytes(betPath()), before);
    }
}

// Good lines of a post are taken whatever its line ends, encoding, blanks or commas; the end
// message says how many lines were taken and how many were passed over.
TEST_F(CliContest, PostsInEveryShape) {
    const QString good = u"#,20310309,東京,11R,馬,05-12,500"_s;
    const QString line = u"東京,11R,馬連  ,05-12,      ,  500円"_s;
    const struct {
        const char* name;
        QByteArray bytes;
    } posts[] = {
        {"Shift-JIS CR LF", toSjis(good + u"\r\n"_s)},
        {"UTF-8", (good + u"\n"_s).toUtf8()},
        {"CR only", toSjis(good + u"\r"_s + good + u"\r"_s)},
        {"no final line end", toSjis(good)},
        {"full-width commas", toSjis(QString(good).replace(u',', u'，'))},
        {"blanks around fields", toSjis(u" # , 20310309 ,　東京　, 11R , 馬 , 05-12 , 500 \t\r\n"_s)},
    };
    for (const auto& c : posts) {
        SCOPED_TRACE(c.name);
        QFile::remove(betPath());
        const QString path = dir.path() + "/post.txt";
        test::writeBytes(path, c.bytes + "\r\n#,20310309,TKY,11R,U,5-123,500\r\n");
        const auto r = bets({"--yes"}, {"tekichukai-in", path});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        for (const QString& l : test::readLines(betPath()))
            EXPECT_EQ(l, line);
        EXPECT_TRUE(r.err.contains(u"1行は取り込めませんでした"_s)) << r.err.toStdString();
    }
}

// Something other than a pending-bet file at its name: a message, never a hang.
TEST_F(CliContest, PendingBetNameThatIsNoFile) {
    QDir().mkpath(home() + "/Data");
    ASSERT_EQ(::mkfifo(QFile::encodeName(betPath()).constData(), 0600), 0);
    const QString post = writePost(u"#,20310309,TKY,11R,U,5-12,500\r\n"_s);
    for (const QStringList& args : {QStringList{"tekichukai-out", "--stdout"}, QStringList{"tekichukai-in", post}}) {
        const auto r = bets({"--yes"}, args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(r.out, u""_s);
    }
}

// A pending-bet file that is not clean is not posted: a message naming the first bad line.
TEST_F(CliContest, DamagedPendingBetFileIsNotPosted) {
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"UTF-8", u"中山,11R,単勝  ,    3,      ,  100円\r\n"_s.toUtf8()},
        {"seven fields", toSjis(u"東京競馬場,X, 1R,単勝  ,    3,      ,  100円\r\n"_s)},
        {"unknown venue", toSjis(u"館福,11R,単勝  ,    3,      ,  100円\r\n"_s)},
        {"no stake", toSjis(u"中山,11R,単勝  ,    3,      ,1e+05円\r\n"_s)},
    };
    QDir().mkpath(home() + "/Data");
    for (const auto& c : files) {
        SCOPED_TRACE(c.name);
        test::writeBytes(betPath(), c.bytes);
        const auto r = bets({}, {"tekichukai-out", "--stdout"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, u""_s);
        EXPECT_FALSE(r.err.isEmpty());
    }
    // CR-only line ends are line ends.
    test::writeBytes(betPath(), toSjis(u"中山,11R,単勝  ,    3,      ,  100円\r中山,11R,単勝  ,    4,      ,  100円\r"_s));
    const auto r = bets({}, {"tekichukai-out", "--stdout"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"２ベット  200円購入"_s)) << r.out.toStdString();
}

// A stake of a million yen or more is posted whole.
TEST_F(CliContest, LargeStakesArePostedWhole) {
    writeBets({u"東京,11R,単勝  ,    3,      ,1000000円"_s, u"東京,11R,単勝  ,    4,      ,2500000円"_s});
    const auto r = bets({}, {"tekichukai-out", "--stdout"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"#,20310309,東京,11R,単,    3,1000000\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"#,20310309,東京,11R,単,    4,2500000\n"_s));
    EXPECT_TRUE(r.out.contains(u"２ベット  3,500,000円購入"_s));
    ASSERT_EQ(bets({}, {"tekichukai-out", "--file"}).exitCode, 0);
    const QByteArray before = test::readBytes(betPath());
    QFile::remove(betPath());
    ASSERT_EQ(bets({"--yes"}, {"tekichukai-in", postPath()}).exitCode, 0);
    EXPECT_EQ(test::readBytes(betPath()), before);
}

TEST_F(CliContest, RoundTrip) {
    const QStringList lines = {u"東京, 1R,単勝  ,    5,      ,  100円"_s, u"東京, 1R,複勝  ,   18,      ,  200円"_s,
                               u"中山,11R,枠連  ,  1-8,      ,  300円"_s, u"京都,12R,馬連  ,05-12,      , 1000円"_s,
                               u"京都,12R,ワイド,01-02,      ,99900円"_s};
    writeBets(lines);
    ASSERT_EQ(bets({}, {"tekichukai-out", "--file"}).exitCode, 0);
    QFile::remove(betPath());
    ASSERT_EQ(bets({"--yes"}, {"tekichukai-in", postPath()}).exitCode, 0);
    EXPECT_EQ(test::readBytes(betPath()), test::betBytes(lines));
}

TEST_F(CliContest, VoteRoboScheduleAndItsQuestions) {
    writeBets({u"東京,11R,馬連,05-12,      ,  500円"_s});
    ASSERT_EQ(run({"settings", "set", "VoteRoboSetting", "GroupOut", "2"}).exitCode, 0);
    auto r = bets({}, {"voterobo"});
    EXPECT_EQ(r.exitCode, 1);  // no race file
    EXPECT_TRUE(r.err.contains(u"出馬表が見つかりません。"_s));
    EXPECT_FALSE(QFile::exists(lstPath()));
    test::DayBuilder day(u"20310309"_s);
    day.add(u"04"_s, 11).postTime = u"15:45"_s;
    day.write(home() + "/Data/", false);
    r = bets({}, {"voterobo"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(test::readLines(lstPath()),
              (QStringList{u"2 09:00:05 投票項目入力 東京 11R 馬連        5-12    500"_s, u"2 09:00:30 投票"_s}));
    EXPECT_TRUE(QFile::exists(betPath()));  // no answer: kept
    // Overwrite, then delete the pending bets.
    r = bets({"--answer", "yes", "--answer", "yes"}, {"voterobo"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(test::readLines(lstPath()).size(), 2);
    EXPECT_FALSE(QFile::exists(betPath()));
}

}  // namespace
}  // namespace zm
