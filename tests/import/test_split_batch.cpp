#include "day/day_pipeline.h"
#include "import/split.h"
#include "import_fixtures.h"
#include "support/test_home.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using test::CardFiles;
using test::RaceKey;

std::map<QString, QByteArray> membersOf(const QString& archivePath) {
    QString message;
    const auto members = readArchive(test::readBytes(archivePath), archivePath, message);
    std::map<QString, QByteArray> out;
    if (members) {
        for (const ArchiveMember& m : *members)
            out[m.path] = m.data;
    }
    return out;
}

TEST(Split, SecondDateRacesTheirEntriesAndTheirHorses) {
    test::TestHome home;
    AppContext& ctx = home.ctx();
    CardFiles first, second;
    first.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 3, 1);
    first.addRace({QStringLiteral("04"), QStringLiteral("20011110"), 1}, 2, 2);
    second.addRace({QStringLiteral("00"), QStringLiteral("20011111"), 11, QStringLiteral("05"), QStringLiteral("02")}, 2, 3);
    second.addRace({QStringLiteral("04"), QStringLiteral("20011111"), 11, QStringLiteral("04"), QStringLiteral("02")}, 2, 4);
    // The second day's entries come first in the entries file, horses interleaved.
    CardFiles all;
    all.races = first.races + second.races;
    all.entries = second.entries + first.entries;
    all.horses = first.horses.left(HorseRecord::kLength) + second.horses + first.horses.mid(HorseRecord::kLength);
    const QString archive = ctx.settings.MurDataDir + QStringLiteral("HZ011110.LZH");
    test::writeBytes(archive, writeArchive(all.members()));

    QStringList shown;
    SplitObserver observer;
    observer.original = [&](const QString& t) { shown << QStringLiteral("元データ ") + t; };
    observer.added = [&](const QString& t) { shown << QStringLiteral("追加データ ") + t; };
    observer.status = [&](const QString& t) { shown << t; };
    const QString written = SplitTwoDayArchive(ctx, archive, observer).value();
    EXPECT_EQ(written, ctx.settings.MurDataDir + QStringLiteral("B011111.LZH"));
    EXPECT_EQ(shown, (QStringList{QStringLiteral("元データ 2001年11月10日 出馬表"),
                                  QStringLiteral("追加データ 2001年11月11日 出馬表"), QStringLiteral("出馬表データを抽出中"),
                                  QStringLiteral("競走馬データを抽出中"), QStringLiteral("分割作業は終了しました！")}));
    const auto members = membersOf(written);
    EXPECT_EQ(members.size(), 3u);
    EXPECT_EQ(members.at(QStringLiteral("mur_den1.kd2")), second.races);
    EXPECT_EQ(members.at(QStringLiteral("mur_den2.kd2")), second.entries);
    EXPECT_EQ(members.at(QStringLiteral("mur_uma.kd2")), second.horses);
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Work")).isEmpty());
    EXPECT_TRUE(home.prompter().texts().isEmpty());

    // The split file imports like any other archive.
    const DayOutcome imported = ExtractAndPredict(ctx, written, {});
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported.date, QStringLiteral("20011111"));
    EXPECT_EQ(imported.day->meetings.size(), 2u);
}

TEST(Split, OneDayOnlyNeedsNoSplit) {
    test::TestHome home;
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 2, 1);
    const QString archive = home.ctx().settings.MurDataDir + QStringLiteral("HZ011110.LZH");
    test::writeBytes(archive, writeArchive(card.members()));
    const Result<QString> written = SplitTwoDayArchive(home.ctx(), archive);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.status().notice().severity, Severity::Information);
    EXPECT_EQ(written.message(), QStringLiteral("この出馬表データは１日分しかありません。\r\n分割する必要はありません！"));
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Work")).isEmpty());
    EXPECT_EQ(test::folderEntries(home.ctx().settings.MurDataDir), QStringList{QStringLiteral("HZ011110.LZH")});
}

TEST(Batch, SortedCaseInsensitiveMatchesOnly) {
    test::TestHome home;
    AppContext& ctx = home.ctx();
    EXPECT_EQ(BatchRun(ctx, {}, [&](const Notice& m) { ctx.prompter.critical(m.text); }).archives, 0);
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("ＭＵＲのデータが見つかりません！")});
    home.prompter().clear();

    const QString dirs = ctx.settings.MurDataDir;
    const struct {
        const char* name;
        const char* date;
    } files[] = {{"hb011111.lzh", "20011111"}, {"HB011110.LZH", "20011110"}, {"hb011117.Lzh", "20011117"},
                 {"hb0111180.lzh", "20011118"}, {"xb011124.lzh", "20011124"}, {"hb01112.lzh", "20011125"}};
    for (const auto& f : files) {
        CardFiles card;
        card.addRace({QStringLiteral("05"), QString::fromLatin1(f.date), 1}, 2, 1);
        test::writeBytes(dirs + QString::fromLatin1(f.name), writeArchive(card.members()));
    }
    test::writeBytes(ctx.settings.OutPutDir + QStringLiteral("Duel.TXT"), "previous run");

    QStringList days;
    DaySteps hooks;
    hooks.predict = [&](AppContext&, const ImportedDay& day, FileSet&) {
        days << day.date;
        return Status();
    };
    const BatchResult result = BatchRun(ctx, hooks, [&](const Notice& m) { ctx.prompter.critical(m.text); });
    EXPECT_EQ(result.archives, 3);
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(days, (QStringList{QStringLiteral("20011110"), QStringLiteral("20011111"), QStringLiteral("20011117")}));
    EXPECT_FALSE(QFile::exists(ctx.settings.OutPutDir + QStringLiteral("Duel.TXT")));
    EXPECT_TRUE(home.prompter().texts().isEmpty());
}

}  // namespace
}  // namespace zm
