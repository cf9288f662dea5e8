#include "pat/pat_format.h"
#include "pat/pat_log.h"
#include <set>
#include "codes/codetables.h"
#include "day/day_pipeline.h"
#include "import/records.h"
#include "predict/prediction_file.h"
#include "sample/racing.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QMap>
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

// Quinella odds of a race by horse pair, and its horses by popularity (lowest win odds first).
struct RaceOdds {
    OddsRecord rec;
    std::vector<int> favourites;
};

std::vector<RaceOdds> oddsOfDay(const DayFiles& day, std::uint64_t seed) {
    const RecordFile file(sample::makeOddsFile(day.races, seed, day.horses), OddsRecord::kLength);
    std::vector<RaceOdds> out;
    for (int n = 1; n <= file.count(); ++n) {
        RaceOdds r{file.get<OddsRecord>(n), {}};
        for (int h = 1; h <= 18; ++h) {
            if (r.rec.number(OddsRecord::winOdds, h) > 0)
                r.favourites.push_back(h);
        }
        std::stable_sort(r.favourites.begin(), r.favourites.end(), [&](int a, int b) {
            return r.rec.number(OddsRecord::winOdds, a) < r.rec.number(OddsRecord::winOdds, b);
        });
        out.push_back(r);
    }
    return out;
}

TEST(Sample, QuinellaOddsOfTheFavouritesStraddleThirty) {
    // Short quinella odds among the favourites, long ones elsewhere, and values right at the
    // line of 30.0 on every seed tried.
    for (const std::uint64_t seed : {20261205ULL, 1ULL, 99ULL}) {
        SCOPED_TRACE(seed);
        const DayFiles day = sample::makeDay(QDate(2026, 12, 5), seed);
        int topBelow = 0, topAtOrAbove = 0, restBelow = 0, rest = 0;
        QMap<int, int> edges;
        QSet<QChar> markers;
        for (const RaceOdds& r : oddsOfDay(day, seed)) {
            for (int k = 1; k <= 153; ++k) {
                const QString text = r.rec.trimmed(OddsRecord::quinellaOdds.element(k));
                if (!text.isEmpty() && !text.at(0).isDigit())
                    markers << text.at(0);
                const int v = int(r.rec.number(OddsRecord::quinellaOdds.element(k)));
                if (v == 125 || v == 299 || v == 300 || v == 301)
                    ++edges[v];
            }
            const auto& f = r.favourites;
            for (size_t a = 0; a < f.size(); ++a) {
                for (size_t b = a + 1; b < f.size(); ++b) {
                    const double v = r.rec.number(OddsRecord::quinellaField(f[a], f[b]));
                    if (v <= 0)
                        continue;
                    if (b < 3)
                        (v < 300 ? topBelow : topAtOrAbove)++;
                    else if (a >= 5)
                        ++rest, restBelow += v < 300;
                }
            }
        }
        EXPECT_GT(topBelow, 2 * topAtOrAbove);
        EXPECT_GT(topAtOrAbove, 0);
        EXPECT_LT(restBelow * 10, rest);
        for (int v : {125, 299, 300, 301})
            EXPECT_GE(edges.value(v), 2) << v;
        for (QChar m : {u'*', u'/', u'-'})
            EXPECT_TRUE(markers.contains(m)) << int(m.unicode());
    }
}

TEST(Sample, OddsFilteredStyleFindsPairsInSomeRacesAndNoneInOthers) {
    test::TestHome home;
    sample::SampleOptions options;
    options.home = home.home();
    options.days = 0;
    QStringList written;
    QString message;
    ASSERT_TRUE(sample::writeSample(options, written, message)) << message.toStdString();
    home.ctx().settings.Yosou = 8;
    ASSERT_TRUE(ExtractAndPredict(home.ctx(), home.home() + QStringLiteral("/MurData/H261205.LZH"),
                                  DaySteps::predictionOnly()));
    const auto records = readPredictionFile(predictionFilePath(home.ctx().paths.DataDir, QStringLiteral("20261205")));
    ASSERT_TRUE(records);
    int withPairs = 0, withoutPairs = 0, pairs = 0;
    for (const PredictionRecord& rec : *records) {
        if (rec.runnerCount < 9)
            continue;
        const auto n = std::count_if(rec.quinellaPicks.begin(), rec.quinellaPicks.end(),
                                     [](const PickEntry& p) { return p.code != 0; });
        pairs += int(n);
        (n > 0 ? withPairs : withoutPairs)++;
    }
    EXPECT_GE(withPairs, 12);
    EXPECT_GE(withoutPairs, 3);
    EXPECT_GT(pairs, withPairs);
}

TEST(Sample, WrittenHomeImportsEveryDay) {
    test::TestHome home;
    sample::SampleOptions options;
    options.home = home.home();
    options.days = 3;
    QStringList written;
    QString message;
    ASSERT_TRUE(sample::writeSample(options, written, message)) << message.toStdString();
    // 36 result files and three logs of the sample day and 36 result files of each further
    // batch day in PAT/, the rest for the service's archives (with each further day's odds).
    EXPECT_EQ(written.filter(QStringLiteral("/PAT/")).size(), 39 + 2 * 36);
    EXPECT_EQ(written.size(), 48 + 2 * 37);

    const DayOutcome day = ExtractAndPredict(home.ctx(), home.home() + QStringLiteral("/MurData/H261205.LZH"), {});
    ASSERT_TRUE(day);
    EXPECT_EQ(day.day->meetings.size(), 3u);
    EXPECT_EQ(day.day->jockeys.count(), 60);
    const BatchResult batch = BatchRun(home.ctx(), {}, [&](const Notice& m) { home.ctx().prompter.critical(m.text); });
    EXPECT_EQ(batch.archives, 3);
    EXPECT_EQ(batch.imported, 3);
    // Every batch day's results read back from the one PAT folder, race for race.
    home.ctx().settings.PatDir = home.home() + QStringLiteral("/PAT/");
    for (const QDate& d : sample::raceDaysBack(options.date, 3)) {
        const QString day = d.toString(QStringLiteral("yyyyMMdd"));
        const auto sei = zm::BuildResults(home.ctx(), *zm::patFormat(zm::PatVer::V98), day);
        ASSERT_TRUE(sei) << day.toStdString();
        EXPECT_EQ(sei->size(), 36u) << day.toStdString();
        const RecordFile races(sample::makeDay(d, options.seed, options.shape).races, RaceRecord::kLength);
        for (const zm::SeiRecord& r : *sei) {
            int runners = 0;
            for (int n = 1; n <= races.count(); ++n) {
                const RaceRecord race = races.get<RaceRecord>(n);
                if (ServiceToJraCode(race.text(RaceRecord::venueCode)) == r.text(zm::SeiRecord::venueNo) &&
                    race.number(RaceRecord::raceNo) == r.number(zm::SeiRecord::raceNo))
                    runners = int(race.number(RaceRecord::runnerCount));
            }
            ASSERT_GT(runners, 0) << r.text(zm::SeiRecord::key).toStdString();
            for (int i = 1; i <= 3; ++i) {
                EXPECT_GE(r.number(zm::SeiRecord::finishers, i), 1);
                EXPECT_LE(r.number(zm::SeiRecord::finishers, i), std::max(runners, 3));
            }
        }
    }
    // The old-format archive is refused with its message.
    const DayOutcome old = ExtractAndPredict(home.ctx(), home.home() + QStringLiteral("/MurData/HO261205.LZH"), {});
    EXPECT_FALSE(old);
    EXPECT_EQ(old.messages().size(), 1);
}

TEST(Sample, RaceDaysAreWeekends) {
    const QList<QDate> days = sample::raceDaysBack(QDate(2026, 12, 5), 4);
    EXPECT_EQ(days, (QList<QDate>{QDate(2026, 12, 5), QDate(2026, 11, 29), QDate(2026, 11, 28), QDate(2026, 11, 22)}));
}

}  // namespace
}  // namespace zm

namespace zm {
namespace {

// The sample's PAT folder read back: a dead heat, a returned horse, hits, misses, refunds and
// an advance sale, and the day before left out.
TEST(Sample, PatFilesOfTheDay) {
    test::TestHome home;
    const QString pat = home.home() + QStringLiteral("PAT/");
    QStringList written;
    QString message;
    const sample::DayFiles day = sample::makeDay(sample::defaultDate(), 20261205);
    ASSERT_TRUE(sample::writePatSample(pat, day.races, sample::defaultDate(), 20261205, false, written, message));
    home.ctx().settings.PatDir = pat;
    home.ctx().settings.PatOpt = true;
    home.ctx().settings.Ver = QStringLiteral("98");
    const auto results = zm::BuildResults(home.ctx(), QStringLiteral("20261205"));
    ASSERT_TRUE(results);
    EXPECT_EQ(results->size(), 36u);
    int deadHeats = 0, returned = 0;
    for (const zm::SeiRecord& s : *results) {
        deadHeats += s.number(zm::SeiRecord::winHorses, 2) > 0;
        returned += s.number(zm::SeiRecord::returned, 1) > 0;
    }
    EXPECT_GE(deadHeats, 1);
    EXPECT_GE(returned, 1);
    const auto log = zm::ShowVoteLog(home.ctx(), QStringLiteral("20261205"));
    ASSERT_TRUE(log);
    std::set<zm::Judgement> seen;
    bool advance = false;
    for (const zm::VoteRow& r : log->rows) {
        seen.insert(r.judgement);
        advance = advance || r.remark == u"前売り";
    }
    EXPECT_TRUE(seen.count(zm::Judgement::Hit) && seen.count(zm::Judgement::Miss) && seen.count(zm::Judgement::Refund));
    EXPECT_TRUE(advance);
    const auto stake = zm::ShowDayStake(home.ctx(), QStringLiteral("20261205"));
    ASSERT_TRUE(stake);
    EXPECT_EQ(stake->count, static_cast<int>(log->rows.size()));
    // A fan's day: a few thousand yen, more misses than hits.
    EXPECT_TRUE(stake->stake.value() >= 2000 && stake->stake.value() <= 10000) << stake->stake.value();
    const auto hits = std::count_if(log->rows.begin(), log->rows.end(),
                                    [](const zm::VoteRow& r) { return r.judgement == zm::Judgement::Hit; });
    const auto misses = std::count_if(log->rows.begin(), log->rows.end(),
                                      [](const zm::VoteRow& r) { return r.judgement == zm::Judgement::Miss; });
    EXPECT_GT(misses, 2 * hits);
}

}  // namespace
}  // namespace zm

namespace zm {
namespace {

// Payouts are the market's pool less the takeout: 100 x (1 - takeout) / chance cut to 10 yen,
// at least 100, a dead heat splitting the win pool; read back from the day's results.
TEST(Sample, PayoutsFollowTheMarketLessTheTakeout) {
    test::TestHome home;
    const QString pat = home.home() + QStringLiteral("PAT/");
    QStringList written;
    QString message;
    const std::uint64_t seed = 20261205;
    const sample::DayFiles day = sample::makeDay(sample::defaultDate(), seed);
    ASSERT_TRUE(sample::writePatSample(pat, day.races, sample::defaultDate(), seed, false, written, message));
    home.ctx().settings.PatDir = pat;
    home.ctx().settings.PatOpt = true;
    home.ctx().settings.Ver = QStringLiteral("98");
    const auto results = zm::BuildResults(home.ctx(), QStringLiteral("20261205"));
    ASSERT_TRUE(results);
    const RecordFile races(day.races, RaceRecord::kLength);
    int checked = 0;
    for (const zm::SeiRecord& r : *results) {
        std::optional<RaceRecord> race;
        for (int n = 1; n <= races.count() && !race; ++n) {
            const RaceRecord x = races.get<RaceRecord>(n);
            if (ServiceToJraCode(x.text(RaceRecord::venueCode)) == r.text(zm::SeiRecord::venueNo) &&
                x.number(RaceRecord::raceNo) == r.number(zm::SeiRecord::raceNo))
                race = x;
        }
        ASSERT_TRUE(race);
        const int runners = int(race->number(RaceRecord::runnerCount));
        const int places = runners <= 7 ? 2 : 3;
        const sample::Chances p = sample::marketChances(seed, *race, int(r.number(zm::SeiRecord::returned, 1)));
        auto bracketShare = [&](int b1, int b2) {
            double sum = 0;
            for (int a = 1; a <= runners; ++a)
                for (int b = a + 1; b <= runners; ++b) {
                    const int wa = int(race->number(RaceRecord::runnerField(a, RunnerSlot::waku)));
                    const int wb = int(race->number(RaceRecord::runnerField(b, RunnerSlot::waku)));
                    sum += (std::min(wa, wb) == b1 && std::max(wa, wb) == b2) ? sample::quinellaChance(p, a, b) : 0;
                }
            return sum;
        };
        const int winners = r.number(zm::SeiRecord::winHorses, 2) > 0 ? 2 : 1;
        struct Paid {
            const char* type;
            double takeout, chance, payout;
        };
        std::vector<Paid> paid;
        for (int i = 1; i <= winners; ++i)
            paid.push_back({"win", 0.2, p[size_t(r.number(zm::SeiRecord::winHorses, i))] * winners,
                            r.number(zm::SeiRecord::winPayouts, i)});
        for (int i = 1; i <= places; ++i) {
            const int h = int(r.number(zm::SeiRecord::placeHorses, i));
            paid.push_back({"place", 0.2, sample::placedChance(p, h, h, places), r.number(zm::SeiRecord::placePayouts, i)});
        }
        EXPECT_EQ(r.number(zm::SeiRecord::placeHorses, places + 1), 0);
        const int q = int(zm::Val(r.raw(zm::SeiRecord::quinellaPairs.element(1))));
        paid.push_back({"quinella", 0.225, sample::quinellaChance(p, q / 100, q % 100), r.number(zm::SeiRecord::quinellaPayouts, 1)});
        const int b = int(zm::Val(r.raw(zm::SeiRecord::bracketPairs.element(1))));
        paid.push_back({"bracket", 0.225, bracketShare(b / 10, b % 10), r.number(zm::SeiRecord::bracketPayouts, 1)});
        for (int i = 1; i <= (places == 3 ? 3 : 1); ++i) {
            const int w = int(zm::Val(r.raw(zm::SeiRecord::widePairs.element(i))));
            paid.push_back({"wide", 0.225, sample::placedChance(p, w / 100, w % 100, places), r.number(zm::SeiRecord::widePayouts, i)});
        }
        for (const Paid& x : paid) {
            SCOPED_TRACE(r.text(zm::SeiRecord::key).toStdString() + ' ' + x.type);
            const double fair = 100 * (1 - x.takeout) / x.chance;
            EXPECT_EQ(int(x.payout) % 10, 0);
            if (fair <= 100) {
                EXPECT_EQ(x.payout, 100);
            } else if (fair < 99990) {
                EXPECT_TRUE(x.payout <= fair + 1e-6 && x.payout > fair - 10) << x.payout << " fair " << fair;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 36 * 8);
}

// The finishing order follows strength: each runner wins about as often as its share, the
// chances of pairs and places add up, and the favourite beats the outsider clearly.
TEST(Sample, ResultsFollowStrength) {
    struct Field {
        std::vector<double> strength;
        int places;
    };
    const Field fields[] = {{{8, 4, 2, 1, 0.5}, 2}, {{6, 5, 4, 3, 2, 1.5, 1, 1, 0.8, 0.5, 0.3, 0.2}, 3}};
    for (const Field& f : fields) {
        const int n = int(f.strength.size());
        SCOPED_TRACE(n);
        sample::Chances p{};
        double sum = 0;
        for (double s : f.strength)
            sum += s;
        for (int h = 1; h <= n; ++h)
            p[size_t(h)] = f.strength[size_t(h - 1)] / sum;
        double quinellas = 0, placed = 0, pairsPlaced = 0;
        for (int a = 1; a <= n; ++a) {
            placed += sample::placedChance(p, a, a, f.places);
            for (int b = a + 1; b <= n; ++b) {
                quinellas += sample::quinellaChance(p, a, b);
                pairsPlaced += sample::placedChance(p, a, b, f.places);
            }
        }
        EXPECT_NEAR(quinellas, 1.0, 1e-9);
        EXPECT_NEAR(placed, f.places, 1e-9);
        EXPECT_NEAR(pairsPlaced, f.places * (f.places - 1) / 2.0, 1e-9);

        sample::Rng rng(42);
        constexpr int kRaces = 20000;
        std::vector<int> wins(size_t(n) + 1), topTwo(size_t(n) + 1);
        int firstPairTopTwo = 0;
        for (int race = 0; race < kRaces; ++race) {
            const std::vector<int> order = sample::finishingOrder(rng, p, n);
            ASSERT_EQ(int(order.size()), n);
            ++wins[size_t(order[0])];
            firstPairTopTwo += std::min(order[0], order[1]) == 1 && std::max(order[0], order[1]) == 2;
        }
        for (int h = 1; h <= n; ++h)
            EXPECT_NEAR(wins[size_t(h)] / double(kRaces), p[size_t(h)], 0.015) << h;
        EXPECT_NEAR(firstPairTopTwo / double(kRaces), sample::quinellaChance(p, 1, 2), 0.015);
        EXPECT_GT(wins[1], 10 * std::max(1, wins[size_t(n)]));
    }
}

// The sample's own days: the market's favourite wins far more often than its outsider, and the
// strong horses' last figures stand well above the weak ones'.
TEST(Sample, SampleDaysFollowStrength) {
    int favourites = 0, outsiders = 0;
    std::array<double, 2> figures{}, counts{};  // weak, strong
    for (const QDate& d : sample::raceDaysBack(sample::defaultDate(), 6)) {
        const sample::DayFiles day = sample::makeDay(d, 3);
        const RecordFile races(day.races, RaceRecord::kLength);
        for (int n = 1; n <= races.count(); ++n) {
            const RaceRecord race = races.get<RaceRecord>(n);
            const sample::Chances p = sample::marketChances(3, race);
            const auto [lo, hi] = std::minmax_element(p.begin() + 1, p.begin() + 1 + int(race.number(RaceRecord::runnerCount)));
            sample::Rng rng(std::uint64_t(n + 1000 * d.day()));
            const std::vector<int> order = sample::finishingOrder(rng, sample::trueChances(3, race), 18);
            favourites += order[0] == int(hi - p.begin());
            outsiders += order[0] == int(lo - p.begin());
        }
        const RecordFile horses(day.horses, HorseRecord::kLength);
        for (int n = 1; n <= horses.count(); ++n) {
            const HorseRecord h = horses.get<HorseRecord>(n);
            const double figure = h.number(HorseRecord::pastRunField(1, PastRun::figure));
            const double form = sample::hiddenForm(3, h.trimmed(HorseRecord::horseCode));
            if (figure > 0 && std::abs(form) > 0.7)
                figures[form > 0] += figure, ++counts[form > 0];
        }
    }
    EXPECT_GT(favourites, 5 * std::max(1, outsiders));
    EXPECT_GT(figures[1] / counts[1] - figures[0] / counts[0], 15);
}

}  // namespace
}  // namespace zm
