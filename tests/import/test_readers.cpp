#include "app/file_names.h"
#include "import/odds_import.h"
#include "import/readers.h"
#include "import_fixtures.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zm {
namespace {

JockeyRecord jockey(const QString& code, std::array<int, 4> a, std::array<int, 4> b) {
    JockeyRecord j(test::variedBytes(JockeyRecord::kLength, code.toInt()));
    j.setText(JockeyRecord::jockeyCode, code);
    for (int k = 0; k < 4; ++k) {
        j.setText(JockeyRecord::countsA, k + 1, QString::number(a[size_t(k)]).rightJustified(3, u'0'));
        j.setText(JockeyRecord::countsB, k + 1, QString::number(b[size_t(k)]).rightJustified(5, u' '));
    }
    return j;
}

TEST(JockeyRating, RatesInSinglePrecisionWithTheirFloor) {
    struct Case {
        std::array<int, 4> a, b;
        int rating;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 0}, 15},      // both rates raised to 7: 8.4 + 7
        {{2, 1, 0, 7}, {0, 0, 0, 0}, 43},      // rateA 30: 36 + 7
        {{0, 0, 0, 9}, {5, 5, 0, 10}, 58},     // rateA 0 -> 7 (8.4), rateB 50
        {{1, 0, 0, 2}, {0, 0, 0, 0}, 46},      // 33.333334f x 1.2 stays below 40
        {{10, 0, 0, 0}, {3, 0, 0, 0}, 220},    // 100 x 1.2 + 100
        {{0, 0, 1, 0}, {1, 0, 0, 15}, 15},     // rateA 0 and rateB 6.25 both raised to 7
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a[0] << "," << c.a[1] << "," << c.a[2] << "," << c.a[3]);
        EXPECT_EQ(jockeyRatingOf(jockey(QStringLiteral("00001"), c.a, c.b)), c.rating);
    }
}

TEST(JockeyTable, LoadsAtMost512AndNoneWhenTheFileIsMissing) {
    test::TestHome home;
    QByteArray file;
    for (int i = 1; i <= 600; ++i)
        file += jockey(QString::number(i).rightJustified(5, u'0'), {i % 5, 1, 0, 7}, {0, 0, 0, 0}).bytes();
    ASSERT_TRUE(test::writeBytes(home.home() + QStringLiteral("/MUR_KIS.KD2"), file));
    const JockeyTable table = LoadJockeyTable(home.ctx());
    EXPECT_EQ(table.count(), 512);
    EXPECT_EQ(table.at(512).jockeyCode, QStringLiteral("00512"));
    EXPECT_EQ(table.rating(QStringLiteral("00012")), std::optional<std::int16_t>(43));
    EXPECT_EQ(table.rating(QStringLiteral("00513")), std::nullopt);

    QFile::remove(home.home() + QStringLiteral("/MUR_KIS.KD2"));
    const JockeyTable none = LoadJockeyTable(home.ctx());
    EXPECT_EQ(none.count(), 0);
    EXPECT_EQ(none.rating(QStringLiteral("00001")), std::nullopt);
}

TEST(JockeyTable, PartialTrailingRecordCountsFromHalf) {
    test::TestHome home;
    const QByteArray one = jockey(QStringLiteral("00001"), {1, 1, 1, 1}, {1, 1, 1, 1}).bytes();
    for (const auto& [extra, count] : {std::pair{864, 1}, std::pair{865, 2}}) {
        ASSERT_TRUE(test::writeBytes(home.home() + QStringLiteral("/mur_kis.kd2"), one + one.left(extra)));
        EXPECT_EQ(LoadJockeyTable(home.ctx()).count(), count) << extra;
    }
}

class ArchiveFormat : public ::testing::Test {
protected:
    QString archivePath() { return home.ctx().settings.MurDataDir + QStringLiteral("H011110.LZH"); }
    Status check(const std::vector<ArchiveMember>& members) {
        test::writeBytes(archivePath(), writeArchive(members));
        return CheckArchiveFormat(home.ctx(), archivePath());
    }
    // The message a refusal gives the user, if any.
    static QStringList shown(const QString& message) { return message.isEmpty() ? QStringList() : QStringList{message}; }
    QStringList work() const { return test::folderEntries(home.home() + QStringLiteral("/Work")); }

    test::TestHome home;
};

TEST_F(ArchiveFormat, KindsOfArchive) {
    const QString oldMessage =
        QStringLiteral("選択したＭＵＲ出馬表ファイルは、古い形式(仕様)のものです。\r\n\r\nこの出馬表を利用する場合は、"
                       "「ゼノゼノＭＵＲ」も古いバージョン(Ver 1.33.3以前)をご利用ください。\r\n\r\n");
    struct Case {
        const char* what;
        QStringList names;
        bool ok;
        QStringList messages;
    };
    const Case cases[] = {
        {"current", {"mur_den1.kd2", "mur_den2.kd2", "mur_uma.kd2"}, true, {}},
        {"current, upper case", {"MUR_DEN1.KD2", "MUR_DEN2.KD2", "MUR_UMA.KD2"}, true, {}},
        {"old format", {"mur_den.DAT", "mur_uma.DAT"}, false, {oldMessage}},
        {"race file only", {"mur_den1.kd2"}, false, {}},
        {"something else", {"readme.txt"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home.prompter().clear();
        std::vector<ArchiveMember> members;
        for (const QString& n : c.names)
            members.push_back({n, QByteArray("x\r\n")});
        const Status checked = check(members);
        EXPECT_EQ(checked.ok(), c.ok);
        EXPECT_EQ(shown(checked.message()), c.messages);
        EXPECT_EQ(work().size(), c.ok ? 3 : 0);
        // The import's check in memory: the same answer and messages, nothing in the work folder.
        const Result<UnpackedArchive> unpacked = UnpackDayArchive(home.ctx(), archivePath());
        EXPECT_EQ(unpacked.ok(), c.ok);
        EXPECT_EQ(shown(unpacked.message()), c.messages);
        EXPECT_TRUE(home.prompter().texts().isEmpty());
        EXPECT_TRUE(work().isEmpty());
        if (unpacked) {
            EXPECT_EQ(unpacked->find(QStringLiteral("mur_uma.kd2"))->data, QByteArray("x\r\n"));
            EXPECT_EQ(unpacked->find(QStringLiteral("mur_den.DAT")), nullptr);
        }
    }
}

// A work file is looked up as in the folder: the exact name first, else the first in name
// order that matches ignoring case.
TEST_F(ArchiveFormat, UnpackedFilesAreFoundAsInTheWorkFolder) {
    test::writeBytes(archivePath(), writeArchive({{QStringLiteral("mur_den1.KD2"), "b"},
                                                  {QStringLiteral("MUR_DEN1.kd2"), "a"},
                                                  {QStringLiteral("mur_den2.kd2"), "exact"},
                                                  {QStringLiteral("MUR_DEN2.KD2"), "other"},
                                                  {QStringLiteral("mur_uma.kd2"), "h"}}));
    const Result<UnpackedArchive> unpacked = UnpackDayArchive(home.ctx(), archivePath());
    ASSERT_TRUE(unpacked);
    ASSERT_TRUE(CheckArchiveFormat(home.ctx(), archivePath()));
    const QString work = home.home() + QStringLiteral("/Work/");
    for (const QString& name :
         {QStringLiteral("mur_den1.kd2"), QStringLiteral("mur_den2.kd2"), QStringLiteral("MUR_UMA.KD2")}) {
        SCOPED_TRACE(name.toStdString());
        const QString onDisk = findFileNoCase(work, name);
        ASSERT_NE(unpacked->find(name), nullptr);
        EXPECT_EQ(work + unpacked->find(name)->path, onDisk);
        EXPECT_EQ(unpacked->find(name)->data, test::readBytes(onDisk));
    }
}

// A work folder that is a link is refused before anything is read, and the refusals of the
// archive reader keep their messages.
TEST_F(ArchiveFormat, UnpackingRefusesALinkedWorkFolderAndABrokenArchive) {
    test::writeBytes(archivePath(), QByteArray("not an archive at all, just text"));
    test::writeBytes(home.home() + QStringLiteral("/Work/stale.kd2"), "old");
    const Result<UnpackedArchive> broken = UnpackDayArchive(home.ctx(), archivePath());
    EXPECT_FALSE(broken);
    EXPECT_TRUE(broken.message().contains(QStringLiteral("H011110.LZH")));
    EXPECT_TRUE(work().isEmpty());

    const QString work = home.home() + QStringLiteral("/Work");
    ASSERT_TRUE(QDir(work).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(home.home() + QStringLiteral("/elsewhere")));
    ASSERT_TRUE(QFile::link(home.home() + QStringLiteral("/elsewhere"), work));
    const Result<UnpackedArchive> linked = UnpackDayArchive(home.ctx(), archivePath());
    EXPECT_FALSE(linked);
    EXPECT_EQ(linked.message(), notRealFolderMessage(home.ctx().paths.WorkDir));
}

TEST_F(ArchiveFormat, UnreadableArchiveGivesTheReadersMessageAndAnEmptyWork) {
    const QString path = home.ctx().settings.MurDataDir + QStringLiteral("H011110.LZH");
    test::writeBytes(home.home() + QStringLiteral("/Work/stale.kd2"), "old");
    for (const QByteArray& bytes : {QByteArray(), QByteArray("not an archive at all, just text"),
                                    writeArchive({{QStringLiteral("mur_den1.kd2"), QByteArray(5000, 'a')}}).left(60)}) {
        test::writeBytes(path, bytes);
        const Status checked = CheckArchiveFormat(home.ctx(), path);
        EXPECT_FALSE(checked);
        EXPECT_FALSE(checked.message().isEmpty());
        EXPECT_TRUE(work().isEmpty());
    }
}

class OddsArchive : public ::testing::Test {
protected:
    QString archive(const std::vector<ArchiveMember>& members) {
        const QString path = home.ctx().settings.MurDataDir + QStringLiteral("j011110.lzh");
        test::writeBytes(path, writeArchive(members));
        return path;
    }
    QByteArray dayFile(const QString& date) {
        return test::readBytes(home.home() + QStringLiteral("/Data/MURODDS") + date + QStringLiteral(".DAT"));
    }

    test::TestHome home;
};

TEST_F(OddsArchive, EveryDateGetsAllItsRecords) {
    const test::RaceKey d10{QStringLiteral("00"), QStringLiteral("20011110"), 1};
    const test::RaceKey d11{QStringLiteral("00"), QStringLiteral("20011111"), 1};
    const QByteArray a = test::oddsOf(d10, 1).bytes(), b = test::oddsOf(d11, 2).bytes(),
                     c = test::oddsOf(d10, 3).bytes(), d = test::oddsOf(d11, 4).bytes();
    // A day file of the 11th from an earlier import is replaced.
    test::writeBytes(home.home() + QStringLiteral("/Data/MURODDS20011111.DAT"), QByteArray("stale"));
    const Result<QString> oddsPath =
        ImportOddsArchive(home.ctx(), archive({{QStringLiteral("mur_ods.KD2"), a + b + c + d}}));
    ASSERT_TRUE(oddsPath);
    EXPECT_EQ(dayFile(QStringLiteral("20011110")), a + c);
    EXPECT_EQ(dayFile(QStringLiteral("20011111")), b + d);
    EXPECT_EQ(*oddsPath, home.home() + QStringLiteral("/Data/MURODDS20011110.DAT"));
    EXPECT_TRUE(home.prompter().texts().isEmpty());
}

TEST_F(OddsArchive, OldFormatAndEmptyArchivesAreRefused) {
    const Result<QString> old = ImportOddsArchive(home.ctx(), archive({{QStringLiteral("mur_ods.DAT"), "x"}}));
    EXPECT_FALSE(old);
    EXPECT_TRUE(old.message().startsWith(
        QStringLiteral("選択したＭＵＲ予想オッズファイルは、古い形式(仕様)のものです。\r\n\r\nこのオッズを利用する")));
    for (const ArchiveMember& member : {ArchiveMember{QStringLiteral("mur_ods.kd2"), QByteArray()},
                                        ArchiveMember{QStringLiteral("other.kd2"), "x"}}) {
        const Result<QString> refused = ImportOddsArchive(home.ctx(), archive({member}));
        EXPECT_FALSE(refused);
        EXPECT_TRUE(refused.message().isEmpty());
    }
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Data")).isEmpty());
}

}  // namespace
}  // namespace zm
