#include "import/day_run.h"
#include "import/records.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QSet>
#include <gtest/gtest.h>

namespace zm {
namespace {

using sample::DayFiles;

TEST(Sample, SameSeedSameBytesOtherSeedOtherBytes) {
    const QDate date(2026, 12, 5);
    const DayFiles a = sample::makeDay(date, 7);
    const DayFiles b = sample::makeDay(date, 7);
    const DayFiles c = sample::makeDay(date, 8);
    EXPECT_EQ(a.races, b.races);
    EXPECT_EQ(a.entries, b.entries);
    EXPECT_EQ(a.horses, b.horses);
    EXPECT_NE(a.horses, c.horses);
    EXPECT_EQ(sample::makeOddsFile(a.races, 7), sample::makeOddsFile(b.races, 7));
}

TEST(Sample, DayHasWhatThePredictionNeeds) {
    const DayFiles day = sample::makeDay(QDate(2026, 12, 5), 20261205);
    const RecordFile races(day.races, RaceRecord::kLength);
    const RecordFile entries(day.entries, EntryRecord::kLength);
    const RecordFile horses(day.horses, HorseRecord::kLength);
    ASSERT_EQ(races.count(), 36);
    EXPECT_EQ(day.races.size() % RaceRecord::kLength, 0);

    QSet<QString> venues, prizes, horseCodes;
    int steeple = 0, smallest = 99, largest = 0, runners = 0;
    for (int n = 1; n <= races.count(); ++n) {
        const RaceRecord race = races.get<RaceRecord>(n);
        EXPECT_EQ(race.dateText(), QStringLiteral("20261205"));
        venues << race.text(RaceRecord::venueCode);
        prizes << race.trimmed(RaceRecord::prizeClass);
        steeple += race.text(RaceRecord::raceClass) == u"0";
        const int count = int(race.number(RaceRecord::runnerCount));
        smallest = std::min(smallest, count);
        largest = std::max(largest, count);
        runners += count;
        for (int i = 1; i <= count; ++i)
            EXPECT_FALSE(race.runner(i).trimmed(RunnerSlot::horseCode).isEmpty());
    }
    EXPECT_EQ(venues.size(), 3);
    EXPECT_GE(steeple, 1);
    EXPECT_EQ(smallest, 5);
    EXPECT_EQ(largest, 18);
    for (const char* p : {"0", "1", "2", "5000", "10000", "16000"})
        EXPECT_TRUE(prizes.contains(QString::fromLatin1(p))) << p;
    EXPECT_EQ(entries.count(), runners);
    EXPECT_EQ(horses.count(), runners);

    // Every runner's horse exists once; jockeys both in and out of the jockey file; some
    // horses without past runs; one pair of horses identical but for number, code and name.
    const RecordFile jockeys(sample::makeJockeyFile(20261205), JockeyRecord::kLength);
    QSet<QString> known;
    for (int n = 1; n <= jockeys.count(); ++n)
        known << jockeys.get<JockeyRecord>(n).text(JockeyRecord::jockeyCode);
    int knownRides = 0, unknownRides = 0, noPast = 0, twins = 0;
    QByteArray previous;
    for (int n = 1; n <= horses.count(); ++n) {
        const HorseRecord h = horses.get<HorseRecord>(n);
        horseCodes << h.text(HorseRecord::horseCode);
        noPast += h.trimmed(HorseRecord::pastRunField(1, PastRun::raceKey)).isEmpty();
        QByteArray body = h.bytes().mid(HorseRecord::horseName.end());
        twins += body == previous;
        previous = body;
        const EntryRecord e = entries.get<EntryRecord>(n);
        (known.contains(e.text(EntryRecord::jockeyCode)) ? knownRides : unknownRides)++;
    }
    EXPECT_EQ(horseCodes.size(), horses.count());
    EXPECT_GT(knownRides, unknownRides);
    EXPECT_GT(unknownRides, 0);
    EXPECT_GT(noPast, 0);
    EXPECT_GE(twins, 1);
}

TEST(Sample, OddsCarryTheMarkers) {
    const DayFiles day = sample::makeDay(QDate(2026, 12, 5), 20261205);
    const RecordFile odds(sample::makeOddsFile(day.races, 20261205), OddsRecord::kLength);
    ASSERT_EQ(odds.count(), 36);
    QSet<QChar> markers;
    int nearThirty = 0;
    for (int n = 1; n <= odds.count(); ++n) {
        const OddsRecord o = odds.get<OddsRecord>(n);
        for (int h = 1; h <= 18; ++h)
            markers << o.text(OddsRecord::winOdds, h).at(0);
        for (int k = 1; k <= 153; ++k) {
            const double v = o.number(OddsRecord::quinellaOdds, k);
            nearThirty += v >= 250 && v <= 350;
        }
    }
    for (QChar m : {u'*', u'/', u'-'})
        EXPECT_TRUE(markers.contains(m)) << int(m.unicode());
    EXPECT_GT(nearThirty, 20);
}

TEST(Sample, WrittenHomeImportsEveryDay) {
    test::TestHome home;
    sample::SampleOptions options;
    options.home = home.home();
    options.days = 3;
    QStringList written;
    QString message;
    ASSERT_TRUE(sample::writeSample(options, written, message)) << message.toStdString();
    EXPECT_EQ(written.size(), 9);

    ImportState state;
    EXPECT_TRUE(ExtractAndPredict(home.ctx(), state, home.home() + QStringLiteral("/MurData/H261205.LZH"), {}));
    EXPECT_EQ(state.MeetingCount, 3);
    EXPECT_EQ(state.JockeyCount, 60);
    const BatchResult batch = BatchRun(home.ctx(), state, {});
    EXPECT_EQ(batch.archives, 3);
    EXPECT_EQ(batch.imported, 3);
    // The old-format archive is refused with its message.
    EXPECT_FALSE(ExtractAndPredict(home.ctx(), state, home.home() + QStringLiteral("/MurData/HO261205.LZH"), {}));
    EXPECT_EQ(home.prompter().texts().size(), 1);
}

TEST(Sample, RaceDaysAreWeekends) {
    const QList<QDate> days = sample::raceDaysBack(QDate(2026, 12, 5), 4);
    EXPECT_EQ(days, (QList<QDate>{QDate(2026, 12, 5), QDate(2026, 11, 29), QDate(2026, 11, 28), QDate(2026, 11, 22)}));
}

}  // namespace
}  // namespace zm
