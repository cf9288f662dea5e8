#include "import/day_import.h"
#include "day/day_pipeline.h"
#include "import/readers.h"
#include "import_fixtures.h"
#include "support/test_home.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using test::CardFiles;
using test::RaceKey;
using test::ScriptedPrompter;

const QString kNoHorseFile = QStringLiteral("競走馬ファイルが見つかりません！　中止します。");
const QString kNoEntryFile = QStringLiteral("出馬データ２のファイルが見つかりません！　中止します。");
const QString kNoRaceFile = QStringLiteral("出馬表ファイルが見つかりません！　中止します。");

class DayImport : public ::testing::Test {
protected:
    AppContext& ctx() { return home.ctx(); }
    QString work(const QString& name) const { return home.home() + QStringLiteral("/Work/") + name; }
    QString data(const QString& name) const { return home.home() + QStringLiteral("/Data/") + name; }

    void putWork(const CardFiles& card) {
        ASSERT_TRUE(test::writeBytes(work(QStringLiteral("mur_den1.kd2")), card.races));
        ASSERT_TRUE(test::writeBytes(work(QStringLiteral("MUR_DEN2.KD2")), card.entries));  // any case
        ASSERT_TRUE(test::writeBytes(work(QStringLiteral("mur_uma.kd2")), card.horses));
    }

    bool dayRun(const DaySteps& hooks = {}) {
        outcome = DayRun(ctx(), hooks);
        return outcome.ok();
    }
    // The messages the user sees: those shown during the run, then the failure's.
    QStringList shown() {
        QStringList texts = home.prompter().texts();
        for (const Notice& n : outcome.messages())
            texts << n.text;
        return texts;
    }

    test::TestHome home;
    DayOutcome outcome;
};

TEST_F(DayImport, DayFilesOfTheFirstDateOnlyAndEntriesUnchanged) {
    CardFiles card;
    for (int r = 1; r <= 3; ++r)
        card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), r}, 3, r);
    for (int r = 1; r <= 2; ++r)
        card.addRace({QStringLiteral("00"), QStringLiteral("20011111"), r, QStringLiteral("05"), QStringLiteral("02")},
                     2, 10 + r);
    putWork(card);

    ASSERT_TRUE(dayRun());
    EXPECT_EQ(outcome.date, QStringLiteral("20011110"));
    const ImportedDay& day = *outcome.day;
    EXPECT_EQ(day.raceRecords, 5);
    ASSERT_EQ(day.meetings.size(), 1u);
    EXPECT_EQ(day.meetings.at(0),
              (MeetingEntry{1, QStringLiteral("00"), QStringLiteral("20011110"), QStringLiteral("5"), QStringLiteral("1"),
                            QStringLiteral("土"), 3}));
    EXPECT_EQ(test::readBytes(data(QStringLiteral("MUR20011110_1.DEN"))), card.races.left(3 * RaceRecord::kLength));
    EXPECT_EQ(test::readBytes(data(QStringLiteral("MUR20011110_2.DEN"))), card.entries);
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("MUR20011111_1.DEN"))));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("MUR20011110.UMA"))));
    EXPECT_EQ(ctx().ImportedDay, QStringLiteral("20011110"));
    EXPECT_EQ(day.races.bytes(), card.races.left(3 * RaceRecord::kLength));
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Work")).isEmpty());
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(DayImport, VenuesSortedInJraOrderWithServiceCodesAndBytesKept) {
    // File order: 京都 (service 00, JRA 08) 2R, 1R, then 東京 (04 / 05), then 札幌 (08 / 01).
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 2}, 1, 1);
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 1, 2);
    card.addRace({QStringLiteral("04"), QStringLiteral("20011110"), 11}, 1, 3);
    card.addRace({QStringLiteral("04"), QStringLiteral("20011110"), 1}, 1, 4);
    card.addRace({QStringLiteral("08"), QStringLiteral("20011110"), 5}, 1, 5);
    putWork(card);
    ASSERT_TRUE(dayRun());

    const auto day = RecordFile::load(data(QStringLiteral("MUR20011110_1.DEN")), RaceRecord::kLength);
    ASSERT_TRUE(day && day->count() == 5);
    const RecordFile work(card.races, RaceRecord::kLength);
    const int expectedOrder[] = {5, 4, 3, 2, 1};  // 札幌 5R, 東京 1R, 東京 11R, 京都 1R, 京都 2R
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(day->record(i + 1), work.record(expectedOrder[i])) << "record " << i + 1;
    ASSERT_EQ(outcome.day->meetings.size(), 3u);
    EXPECT_EQ(outcome.day->meetings.at(1).firstRace, 3);
    EXPECT_EQ(outcome.day->meetings.at(1).raceCount, 2);
}

TEST_F(DayImport, ExchangeSortOrderOfEqualKeysAndCodesOutsideTheJraTable) {
    // Sort keys 105, 1001, 103, 103, 1002, 101. 大井 (service "10") has no JRA code and sorts as
    // 10xx beside 小倉 (service "03", JRA "10"), but keeps its own code in the day file. The two
    // races keyed 103 (two meetings of 札幌 on one day) come out in the exchange sort's order,
    // the later one first.
    const QString d = QStringLiteral("20011110");
    CardFiles card;
    card.addRace({QStringLiteral("08"), d, 5}, 1, 1);
    card.addRace({QStringLiteral("10"), d, 1}, 1, 2);
    card.addRace({QStringLiteral("08"), d, 3, QStringLiteral("05")}, 1, 3);
    card.addRace({QStringLiteral("08"), d, 3, QStringLiteral("06")}, 1, 4);
    card.addRace({QStringLiteral("03"), d, 2}, 1, 5);
    card.addRace({QStringLiteral("08"), d, 1}, 1, 6);
    putWork(card);
    ASSERT_TRUE(dayRun());

    const auto day = RecordFile::load(data(QStringLiteral("MUR20011110_1.DEN")), RaceRecord::kLength);
    ASSERT_TRUE(day && day->count() == 6);
    const RecordFile work(card.races, RaceRecord::kLength);
    const int expectedOrder[] = {6, 4, 3, 1, 2, 5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(day->record(i + 1), work.record(expectedOrder[i])) << "record " << i + 1;
}

TEST_F(DayImport, FortyRacesKeptAndTheRestNamedInAWarning) {
    struct Case {
        int races;
        int kept;
        bool warned;
    };
    for (const Case c : {Case{40, 40, false}, Case{43, 40, true}}) {
        SCOPED_TRACE(c.races);
        home.prompter().clear();
        CardFiles card;
        for (int r = 0; r < c.races; ++r)
            card.addRace({QString::number(r / 12).rightJustified(2, u'0'), QStringLiteral("20011110"), r % 12 + 1}, 1, r);
        putWork(card);
        ASSERT_TRUE(dayRun());
        EXPECT_EQ(test::readBytes(data(QStringLiteral("MUR20011110_1.DEN"))).size(), c.kept * RaceRecord::kLength);
        const QStringList texts = shown();
        EXPECT_EQ(texts.size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_TRUE(texts.at(0).contains(QStringLiteral(" 3 "))) << texts.at(0).toStdString();
            EXPECT_EQ(outcome.notices.at(0).severity, Severity::Warning);  // returned, not shown
        }
    }
}

TEST_F(DayImport, MissingOrEmptyFilesStopWithTheirMessage) {
    struct Case {
        const char* what;
        bool race, entry, horse;
        bool emptyHorse;
        QString message;
    };
    const Case cases[] = {
        {"no horse file", true, true, false, false, kNoHorseFile},
        {"horse file of 0 bytes", true, true, true, true, kNoHorseFile},
        {"no entries file", true, false, true, false, kNoEntryFile},
        {"no race file", false, true, true, false, kNoRaceFile},
    };
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 2, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home.prompter().clear();
        if (c.race)
            test::writeBytes(work(QStringLiteral("mur_den1.kd2")), card.races);
        if (c.entry)
            test::writeBytes(work(QStringLiteral("mur_den2.kd2")), card.entries);
        if (c.horse)
            test::writeBytes(work(QStringLiteral("mur_uma.kd2")), c.emptyHorse ? QByteArray() : card.horses);
        EXPECT_FALSE(dayRun());
        EXPECT_EQ(shown(), QStringList{c.message});
        EXPECT_TRUE(outcome.date.isEmpty());  // nothing of a day was read
        EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Work")).isEmpty());
        EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Data")).isEmpty());
    }
}

TEST_F(DayImport, DateThatCannotNameAFileIsRefused) {
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("../../x"), 1}, 2, 1);
    putWork(card);
    EXPECT_FALSE(dayRun());
    EXPECT_EQ(shown(), QStringList{kNoRaceFile});
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Data")).isEmpty());
}

TEST_F(DayImport, HorseCopyWhenAsked) {
    ctx().settings.umaF = true;
    CardFiles card;
    card.addRace({QStringLiteral("05"), QStringLiteral("20011110"), 1}, 2, 1);
    putWork(card);
    ASSERT_TRUE(dayRun());
    EXPECT_EQ(test::readBytes(data(QStringLiteral("MUR20011110.UMA"))), card.horses);
    EXPECT_EQ(outcome.day->horses.count(), 2);
    EXPECT_EQ(outcome.day->horseIndex.find(QStringLiteral("1000102")), 2);
}

TEST_F(DayImport, StoppedPredictionLeavesTheOldDayAndEmptiesWork) {
    // The old day: its files must come through the failed import byte for byte.
    const QStringList names = {QStringLiteral("MUR20011110_1.DEN"), QStringLiteral("MUR20011110_2.DEN"),
                               QStringLiteral("MUR20011110.UMA"), QStringLiteral("20011110.DAT")};
    for (const QString& name : names)
        ASSERT_TRUE(test::writeBytes(data(name), "old " + name.toLatin1()));
    CardFiles card;
    card.addRace({QStringLiteral("05"), QStringLiteral("20011110"), 1}, 2, 1);
    putWork(card);
    bool exported = false;
    DaySteps hooks;
    hooks.predict = [](AppContext&, const ImportedDay&, FileSet&) { return Status::failure(QStringLiteral("stop")); };
    hooks.exports = [&](AppContext&, const ImportedDay&, FileSet&, bool, Notices&) {
        exported = true;
        return QStringList();
    };
    EXPECT_FALSE(dayRun(hooks));
    EXPECT_EQ(outcome.date, QStringLiteral("20011110"));  // the day was read, then stopped
    EXPECT_FALSE(exported);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("stop")});
    for (const QString& name : names)
        EXPECT_EQ(test::readBytes(data(name)), "old " + name.toLatin1()) << name.toStdString();
    EXPECT_EQ(test::folderEntries(home.home() + QStringLiteral("/Data")).size(), names.size());
    EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Work")).isEmpty());
}

TEST_F(DayImport, PredictedOddsRequiredByStyleEight) {
    ctx().settings.Yosou = 8;
    CardFiles card;
    const RaceKey key{QStringLiteral("05"), QStringLiteral("20011110"), 1};
    card.addRace(key, 2, 1);

    // Neither the odds day file nor the archive: one message, nothing of the day written.
    putWork(card);
    bool predicted = false;
    DaySteps hooks;
    hooks.predict = [&](AppContext&, const ImportedDay&, FileSet&) {
        predicted = true;
        return Status();
    };
    EXPECT_FALSE(dayRun(hooks));
    EXPECT_FALSE(predicted);
    EXPECT_EQ(shown(),
              QStringList{QStringLiteral("予想法が「おまかせモード」になっていますが、ＭＵＲ予想オッズがありません！\r\n"
                                         "処理を中止します。")});
    EXPECT_TRUE(ctx().ImportedDay.isEmpty());
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("MUR20011110_2.DEN"))));

    // The archive "j" + yymmdd + ".lzh" in MurData, named in another case.
    home.prompter().clear();
    const QByteArray odds = test::oddsOf(key, 1).bytes();
    ASSERT_TRUE(test::writeBytes(ctx().settings.MurDataDir + QStringLiteral("J011110.LZH"),
                                 writeArchive({{QStringLiteral("MUR_ODS.KD2"), odds}})));
    putWork(card);
    EXPECT_TRUE(dayRun(hooks));
    EXPECT_TRUE(predicted);
    EXPECT_EQ(outcome.day->odds.bytes(), odds);
    EXPECT_EQ(test::readBytes(data(QStringLiteral("MURODDS20011110.DAT"))), odds);
    EXPECT_TRUE(shown().isEmpty());
}

// The odds archive's own failure is named first, then the stop it leads to.
TEST_F(DayImport, AnUnreadableOddsArchiveIsNamedBeforeTheStop) {
    ctx().settings.Yosou = 8;
    CardFiles card;
    card.addRace({QStringLiteral("05"), QStringLiteral("20011110"), 1}, 2, 1);
    putWork(card);
    ASSERT_TRUE(test::writeBytes(ctx().settings.MurDataDir + QStringLiteral("j011110.lzh"), QByteArray()));
    EXPECT_FALSE(dayRun());
    const QStringList texts = shown();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("j011110.lzh"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].startsWith(QStringLiteral("予想法が「おまかせモード」"))) << texts[1].toStdString();
    EXPECT_TRUE(home.prompter().texts().isEmpty());
}

TEST_F(DayImport, StyleEightTakesOnlyThisDaysOddsFromTheArchive) {
    ctx().settings.Yosou = 8;
    CardFiles card;
    const RaceKey day{QStringLiteral("05"), QStringLiteral("20011110"), 1};
    const RaceKey other{QStringLiteral("05"), QStringLiteral("20011111"), 1};
    card.addRace(day, 2, 1);
    const QByteArray ours = test::oddsOf(day, 1).bytes();
    const QByteArray theirs = test::oddsOf(other, 2).bytes();
    struct Case {
        const char* what;
        QByteArray odds;
        bool ok;
    };
    const Case cases[] = {
        {"another date first, then ours", theirs + ours, true},
        {"another date only", theirs, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home.prompter().clear();
        QFile::remove(data(QStringLiteral("MURODDS20011110.DAT")));
        QFile::remove(data(QStringLiteral("MURODDS20011111.DAT")));
        ASSERT_TRUE(test::writeBytes(ctx().settings.MurDataDir + QStringLiteral("j011110.lzh"),
                                     writeArchive({{QStringLiteral("mur_ods.kd2"), c.odds}})));
        putWork(card);
        bool predicted = false;
        DaySteps hooks;
        hooks.predict = [&](AppContext&, const ImportedDay& imported, FileSet&) {
            predicted = imported.odds.bytes() == ours;
            return Status();
        };
        EXPECT_EQ(dayRun(hooks), c.ok);
        EXPECT_EQ(predicted, c.ok);
        EXPECT_EQ(shown().size(), c.ok ? 0 : 1);
        if (c.ok)
            EXPECT_EQ(test::readBytes(data(QStringLiteral("MURODDS20011110.DAT"))), ours);
        else
            EXPECT_FALSE(QFile::exists(data(QStringLiteral("MURODDS20011110.DAT"))));
        // The other date's odds go in with the day, and not at all when the day fails.
        EXPECT_EQ(QFile::exists(data(QStringLiteral("MURODDS20011111.DAT"))), c.ok);
        if (c.ok) {
            EXPECT_EQ(test::readBytes(data(QStringLiteral("MURODDS20011111.DAT"))), theirs);
        }
    }
}

TEST_F(DayImport, FindNichiReadsTheDayFile) {
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1, QStringLiteral("05"), QStringLiteral("03")}, 1, 1);
    card.addRace({QStringLiteral("04"), QStringLiteral("20011110"), 1, QStringLiteral("04"), QStringLiteral("07")}, 1, 2);
    putWork(card);
    ASSERT_TRUE(dayRun());
    EXPECT_EQ(FindNichi(ctx(), outcome.date, QStringLiteral("04")), QStringLiteral("07"));
    EXPECT_EQ(FindNichi(ctx(), outcome.date, QStringLiteral("00")), QStringLiteral("03"));
    EXPECT_EQ(FindNichi(ctx(), outcome.date, QStringLiteral("09")), QString());
    EXPECT_EQ(FindNichi(ctx(), QStringLiteral("20011111"), QStringLiteral("04")), QString());
}

}  // namespace
}  // namespace zm
