// The round trip of the contest texts: a sample day imported with both texts on, read back by
// "bets bulk" into one pending bet per pick of the day.

#include "../bets/bet_files.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "predict/prediction_file.h"
#include "support/test_home.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::runCliProcess;

const QString kDay = QStringLiteral("20261205");

QString raceText(int race) {
    return QString::number(race).rightJustified(2) + u'R';
}
QString pairText(int a, int b) {
    return QString::number(std::min(a, b)).rightJustified(2, u'0') + u'-' +
           QString::number(std::max(a, b)).rightJustified(2, u'0');
}

// The picks a contest text of the day carries, as pending-bet lines with the given stakes. The
// service text: the win pick and every pair pick inside the field. The DUEL text: races of eight
// or more runners with a win pick; one small-field slot at eight runners, four at nine, five at
// ten, six from eleven.
QStringList expectedLines(const std::vector<PredictionRecord>& recs, bool duel, const QString& win,
                          const QString& pair, const QString& pairWord = QStringLiteral("馬連  ")) {
    QStringList lines;
    for (const PredictionRecord& r : recs) {
        const int n = r.runnerCount;
        const int w = r.winPicks[0].code;
        if (duel && (w < 1 || n < 8))
            continue;
        const QString head = VenueName(r.venueCode) + u',' + raceText(r.raceNo) + u',';
        if (w >= 1 && w <= n)
            lines << head + QStringLiteral("単勝  ,") + QString::number(w).rightJustified(5) + QStringLiteral(",      ,") + win;
        const bool small = n <= 8;
        const int slotCount = !duel ? 10 : n == 8 ? 1 : n == 9 ? 4 : n == 10 ? 5 : 6;
        for (int k = 0; k < slotCount; ++k) {
            const int code = small ? r.smallPicks[static_cast<size_t>(k)].code : r.quinellaPicks[static_cast<size_t>(k)].code;
            const int a = small ? code / 10 : code / 100;
            const int b = small ? code % 10 : code % 100;
            if (a >= 1 && a <= n && b >= 1 && b <= n && a != b)
                lines << head + pairWord + u',' + pairText(a, b) + QStringLiteral(",      ,") + pair;
        }
    }
    return lines;
}

class CliBulk : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new QTemporaryDir;
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {"--home", home(), "--days", "0"});
        ASSERT_TRUE(sample.waitForFinished(120000));
        ASSERT_EQ(sample.exitCode(), 0);
        for (const char* key : {"MurTextOut", "DuelOut"})
            ASSERT_EQ(run({"settings", "set", "File", key, "True"}).exitCode, 0);
        const auto imported = run({"--yes", "import", home() + "/MurData/H261205.LZH"});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        const auto recs = readPredictionFile(predictionFilePath(home() + "/Data/", kDay));
        ASSERT_TRUE(recs && !recs->empty());
        records = new std::vector<PredictionRecord>(*recs);
    }
    static void TearDownTestSuite() {
        delete records;
        delete dir;
    }
    void SetUp() override {
        QFile::remove(betFile(kDay));
        QFile::remove(betFile("20261206"));
        for (const char* key : {"Path", "Sikibetu", "SoftCode_MUR", "SoftCode_DUEL", "Syubetu"})
            run({"settings", "set", "DavazOrev", key, ""});
        for (const char* key : {"BetTan", "BetFuku", "BetUma", "BetWide"})
            run({"settings", "set", "PAT", key, "100"});
    }

    static QString home() { return dir->path() + "/home"; }
    static test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{"--home", home(), "--config", dir->path() + "/z.ini"} + args);
    }
    static test::CliRun bulk(const QString& day, const QStringList& args) {
        return run(QStringList{"bets", "--day", day, "bulk"} + args);
    }
    static QString betFile(const QString& day) { return home() + "/Data/~B" + day + ".TXT"; }
    static QString output(const QString& name) { return home() + "/OutPut/" + name; }

    static inline QTemporaryDir* dir = nullptr;
    static inline std::vector<PredictionRecord>* records = nullptr;
};

TEST_F(CliBulk, EachContestTextReadsBackIntoOnePendingBetPerPick) {
    ASSERT_TRUE(QFile::exists(output("MUR" + kDay + ".TXT")));
    ASSERT_TRUE(QFile::exists(output("W" + kDay + ".TXT")));
    // The texts were written with stakes of 100 yen; the pending bets take those set now.
    ASSERT_EQ(run({"settings", "set", "PAT", "BetTan", "300"}).exitCode, 0);
    ASSERT_EQ(run({"settings", "set", "PAT", "BetUma", "250"}).exitCode, 0);
    ASSERT_EQ(run({"settings", "set", "PAT", "BetWide", "700"}).exitCode, 0);

    const QStringList mur = expectedLines(*records, false, "  300円", "  200円");
    auto r = bulk(kDay, {"--format", "mur", "--path", output("MUR" + kDay + ".TXT")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(mur.size(), 20);
    EXPECT_EQ(test::readLines(betFile(kDay)), mur);
    EXPECT_TRUE(r.err.contains("保留ＢＥＴファイルに、" + FullWidthDigits(QString::number(mur.size())) +
                               "ベット出力しました。"))
        << r.err.toStdString();

    // The stored "Path" is the DUEL text of the day by default; --yes overwrites.
    const QStringList duel = expectedLines(*records, true, "  300円", "  200円");
    r = run({"--yes", "bets", "--day", kDay, "bulk", "--format", "duel"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_GT(duel.size(), 20);
    EXPECT_EQ(test::readLines(betFile(kDay)), duel);

    // Wide instead of quinella, appended (--no after the subcommand).
    r = bulk(kDay, {"--format", "duel", "--wide", "--no"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(test::readLines(betFile(kDay)), duel + expectedLines(*records, true, "  300円", "  700円", "ワイド"));

    // --cancel leaves the file; the flags were for those runs only.
    const QByteArray before = test::readBytes(betFile(kDay));
    r = bulk(kDay, {"--format", "mur", "--path", output("MUR" + kDay + ".TXT"), "--cancel"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(test::readBytes(betFile(kDay)), before);
    EXPECT_EQ(run({"settings", "get", "DavazOrev", "Path"}).out.trimmed(), "");
}

TEST_F(CliBulk, StoredSettingsChooseFormatCodeAndTypes) {
    run({"settings", "set", "DavazOrev", "Sikibetu", "MUR"});
    run({"settings", "set", "DavazOrev", "Path", output("MUR" + kDay + ".TXT")});
    run({"settings", "set", "DavazOrev", "Syubetu", "3"});  // 複勝のみ（単勝を移行）
    auto r = bulk(kDay, {});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = test::readLines(betFile(kDay));
    QStringList wins = expectedLines(*records, false, "  100円", "").filter("単勝");
    wins.replaceInStrings("単勝", "複勝");
    EXPECT_EQ(lines, wins);

    QFile::remove(betFile(kDay));
    run({"settings", "set", "DavazOrev", "SoftCode_MUR", "a917"});  // letter case does not matter
    run({"settings", "set", "DavazOrev", "Syubetu", "1"});         // 連勝のみ
    ASSERT_EQ(bulk(kDay, {}).exitCode, 0);
    EXPECT_EQ(test::readLines(betFile(kDay)), expectedLines(*records, false, "", "  100円").filter("馬連"));
}

TEST_F(CliBulk, AnotherDayOrCodeGivesTheMessageAndNoFile) {
    const QString nothing = "指定された予想が存在しないか、予想項目が見つかりません。";
    const struct {
        const char* name;
        QString day;
        QStringList args;
        QString code;  // stored SoftCode_MUR / SoftCode_DUEL
        QString message;
        int exit;
    } cases[] = {
        {"MUR text of another day", "20261206", {"--format", "mur", "--path", output("MUR" + kDay + ".TXT")}, "", nothing, 1},
        {"DUEL text of another day", "20261206", {"--format", "duel", "--path", output("W" + kDay + ".TXT")}, "", nothing, 1},
        {"MUR text, another code", kDay, {"--format", "mur", "--path", output("MUR" + kDay + ".TXT")}, "B001", nothing, 1},
        {"DUEL text, another code", kDay, {"--format", "duel"}, "0864", nothing, 1},
        {"DUEL text read as MUR", kDay, {"--format", "mur"}, "", nothing, 1},
        {"no such file", kDay, {"--path", output("none.TXT")}, "", "指定されたファイルが見つかりません！　設定を確認してください。", 1},
        {"unknown format", kDay, {"--format", "csv"}, "", "usage:", 2},
        {"path without value", kDay, {"--path"}, "", "usage:", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        run({"settings", "set", "DavazOrev", "SoftCode_MUR", c.code});
        run({"settings", "set", "DavazOrev", "SoftCode_DUEL", c.code});
        const auto r = bulk(c.day, c.args);
        EXPECT_EQ(r.exitCode, c.exit);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(betFile(c.day)));
    }
}

// Contest texts that are not what they should be: a message and exit 1, never a hang, and the
// pending-bet file stays byte for byte. A header whose venue is not a venue name gives no bets.
TEST_F(CliBulk, HostileContestTexts) {
    const QString day = QStringLiteral("20261207");
    const QString bets = betFile(day);
    const QByteArray before = test::betBytes({QStringLiteral("中山,11R,単勝  ,    3,      ,  100円")});
    QTemporaryDir tmp;
    const QString fifo = tmp.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString big = tmp.path() + "/big.txt";
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(100) << 20));
    }
    auto text = [&](const char* name, const QString& content) {
        const QString path = tmp.path() + u'/' + QString::fromUtf8(name);
        test::writeBytes(path, toSjis(content));
        return path;
    };
    const QString races = QStringLiteral("\r\n------\r\n 1R   3  3- 5\r\n");
    const struct {
        const char* name;
        QString path;
        const char* format;
    } cases[] = {
        {"FIFO", fifo, "duel"},
        {"/dev/zero", QStringLiteral("/dev/zero"), "duel"},
        {"folder", tmp.path(), "mur"},
        {"100 MB", big, "mur"},
        {"comma in the venue",
         text("comma.txt", QStringLiteral("東京競馬場,X 2026年  5回  1日目 12月  7日(月) [0863] x") + races), "duel"},
        {"reversed venue", text("rev.txt", QStringLiteral("館福 2026年  5回  1日目 12月  7日(月) [0863] x") + races),
         "duel"},
        {"MUR mark only",
         text("mark.txt", QStringLiteral("■ ■   3Ｒ 20261207 [A917] 発走15:25 16頭立\r\n単勝 3 100円\r\n")), "mur"},
    };
    QDir().mkpath(QFileInfo(bets).path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes(bets, before);
        const auto r = bulk(day, {"--format", c.format, "--path", c.path, "--yes"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(test::readBytes(bets), before);
    }
    // A good entry among skipped ones: taken, the skipped one named.
    QFile::remove(bets);
    const QString mixed = text("mixed.txt", QStringLiteral("館福 2026年  5回  1日目 12月  7日(月) [0863] x") + races +
                                                QStringLiteral("\r\n東京 2026年  5回  1日目 12月  7日(月) [0863] x") + races);
    const auto r = bulk(day, {"--format", "duel", "--path", mixed});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = test::readLines(bets);
    ASSERT_EQ(lines.size(), 2);
    for (const QString& l : lines) {
        EXPECT_TRUE(l.startsWith(QStringLiteral("東京,"))) << l.toStdString();
        EXPECT_EQ(l.count(u','), 5);
    }
    EXPECT_TRUE(r.err.contains(QStringLiteral("館福"))) << r.err.toStdString();
}

}  // namespace
}  // namespace zm

namespace zm {
namespace {

// The detail file of the sample day as a person reads it: one block per race with picks.
TEST_F(CliBulk, DetailFileOfTheSampleDay) {
    const auto r = run({"detail", kDay});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString path = output("詳細" + kDay + ".TXT");
    EXPECT_EQ(r.out.trimmed(), path);
    const QStringList lines = test::readLines(path);
    int blocks = 0;
    int runners = 0;
    for (const PredictionRecord& p : *records) {
        if (p.winPicks[0].code != 0 || p.smallPicks[0].code != 0 || p.quinellaPicks[0].code != 0) {
            ++blocks;
            runners += p.runnerCount;
        }
    }
    EXPECT_EQ(lines.size(), blocks * 8 + runners);
    EXPECT_EQ(lines.filter(QRegularExpression("^推奨馬券    単勝：")).size(), blocks);
    for (const QString& l : lines)
        EXPECT_LE(ByteLength(l), 80) << l.toStdString();

    const struct {
        QStringList args;
        int exit;
    } cases[] = {{{"detail"}, 2}, {{"detail", "2026120"}, 2}, {{"detail", "20261206"}, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(run(c.args).exitCode, c.exit) << c.args.join(' ').toStdString();
    EXPECT_FALSE(QFile::exists(output("詳細20261206.TXT")));
}

}  // namespace
}  // namespace zm
