// PAT's result and log files for the sample day: a KS file per race and a few LG files.

#include "sample/sample.h"

#include "sample/racing.h"

#include "app/safe_save.h"
#include "codes/codetables.h"
#include "import/records.h"
#include "pat/pat_files.h"
#include "pat/pat_log.h"

#include <QDir>

namespace zm::sample {

namespace {

constexpr Field inEntry(const Field& array, int i, const Field& relative) {
    return relative.shifted(array.element(i).offset);
}

QString two(int n) { return QString::number(n).rightJustified(2); }

// One race's outcome.
struct Outcome {
    QString venueCode;  // service code
    QString kai, nichi;
    int raceNo = 0;
    int runners = 0;
    std::vector<int> order;      // finishing order, the returned horse left out
    std::vector<int> winners;    // two for a dead heat
    int returned = 0;            // a horse scratched after betting began
    int places = 3;              // runners placed for place and wide bets: 2 in a field of seven or fewer
    Chances market{};            // the market's chances, the returned horse left out
    std::array<int, 19> waku{};  // bracket by horse number
};

std::vector<Outcome> outcomes(const QByteArray& races, const QDate& date, std::uint64_t seed) {
    Rng rng(seed * 17 + 5);
    const QString day = date.toString(QStringLiteral("yyyyMMdd"));
    std::vector<Outcome> out;
    for (qsizetype at = 0; at + RaceRecord::kLength <= races.size(); at += RaceRecord::kLength) {
        const RaceRecord race(QByteArrayView(races).sliced(at, RaceRecord::kLength));
        if (race.dateText() != day)
            continue;
        Outcome o;
        o.venueCode = race.text(RaceRecord::venueCode);
        o.kai = race.text(RaceRecord::kai);
        o.nichi = race.text(RaceRecord::nichi);
        o.raceNo = int(race.number(RaceRecord::raceNo));
        o.runners = std::clamp(int(race.number(RaceRecord::runnerCount)), 3, 18);
        const size_t index = out.size();
        if (index == 2 || (o.runners > 8 && rng.chance(0.05)))
            o.returned = rng.between(1, o.runners);
        o.order = finishingOrder(rng, trueChances(seed, race, o.returned), o.runners);
        o.market = marketChances(seed, race, o.returned);
        for (int h = 1; h <= o.runners; ++h)
            o.waku[size_t(h)] = int(race.number(RaceRecord::runnerField(h, RunnerSlot::waku)));
        o.winners = {o.order[0]};
        if (index == 1)
            o.winners.push_back(o.order[1]);  // a dead heat for first
        o.places = o.runners <= 7 ? 2 : 3;
        out.push_back(o);
    }
    return out;
}

// The largest payouts the day's condensed results hold: five digits for win and place, six
// for the pair bets.
constexpr int kMostHorsePayout = 99990;
constexpr int kMostPairPayout = 999990;

// A payout in yen right-aligned in width, cut at most.
QString payoutText(int yen, int width, int most) { return QString::number(std::min(yen, most)).rightJustified(width); }

// The bracket quinella's chance: every pair of horses in the two brackets.
double bracketChance(const Outcome& o, int b1, int b2) {
    double sum = 0;
    for (int a = 1; a <= o.runners; ++a) {
        for (int b = a + 1; b <= o.runners; ++b) {
            const int wa = o.waku[size_t(a)], wb = o.waku[size_t(b)];
            if ((wa == b1 && wb == b2) || (wa == b2 && wb == b1))
                sum += quinellaChance(o.market, a, b);
        }
    }
    return sum;
}

template <class Ks>
QByteArray ksBytes(const Outcome& o, const QString& day) {
    Ks r;
    r.setText(Ks::year, day.left(4));
    r.setText(Ks::month, day.mid(4, 2));
    r.setText(Ks::day, day.mid(6, 2));
    r.setText(Ks::venueName, VenueName(o.venueCode));
    r.setText(Ks::copied, u"0000");
    r.setText(Ks::kai, o.kai);
    r.setText(Ks::nichi, o.nichi);
    r.setText(Ks::raceNo, two(o.raceNo));
    for (size_t i = 0; i < 3 && i < o.order.size(); ++i)
        r.setText(inEntry(Ks::finishers, int(i) + 1, Ks::finisherNo), two(o.order[i]));
    // Payouts from the market's chances less the takeout; a dead heat splits the win pool.
    const int payoutWidth = Ks::horsePayout.width;
    const Chances& p = o.market;
    for (size_t i = 0; i < o.winners.size(); ++i) {
        const int h = o.winners[i];
        r.setText(inEntry(Ks::win, int(i) + 1, Ks::horseNo), two(h));
        r.setText(inEntry(Ks::win, int(i) + 1, Ks::horsePayout),
                  payoutText(payoutPer100(p[size_t(h)], kWinTakeout, int(o.winners.size())), payoutWidth,
                             kMostHorsePayout));
    }
    for (int i = 0; i < o.places; ++i) {
        const int h = o.order[size_t(i)];
        r.setText(inEntry(Ks::place, i + 1, Ks::horseNo), two(h));
        r.setText(inEntry(Ks::place, i + 1, Ks::horsePayout),
                  payoutText(payoutPer100(placedChance(p, h, h, o.places), kWinTakeout), payoutWidth, kMostHorsePayout));
    }
    const int b1 = std::min(o.waku[size_t(o.order[0])], o.waku[size_t(o.order[1])]);
    const int b2 = std::max(o.waku[size_t(o.order[0])], o.waku[size_t(o.order[1])]);
    const int p1 = std::min(o.order[0], o.order[1]);
    const int p2 = std::max(o.order[0], o.order[1]);
    if constexpr (std::is_same_v<Ks, zm::Ks98Record>) {
        r.setText(inEntry(Ks::bracket, 1, Ks::bracketPair), QString::number(b1) + u'-' + QString::number(b2));
    } else {
        r.setText(inEntry(Ks::bracket, 1, Ks::bracketFirst), QString::number(b1));
        r.setText(inEntry(Ks::bracket, 1, Ks::bracketDash), u"-");
        r.setText(inEntry(Ks::bracket, 1, Ks::bracketSecond), QString::number(b2));
    }
    r.setText(inEntry(Ks::bracket, 1, Ks::bracketPayout),
              payoutText(payoutPer100(bracketChance(o, b1, b2), kPairTakeout), Ks::bracketPayout.width, kMostPairPayout));
    r.setText(inEntry(Ks::quinella, 1, Ks::pairFirst), two(p1));
    r.setText(inEntry(Ks::quinella, 1, Ks::pairSecond), two(p2));
    r.setText(inEntry(Ks::quinella, 1, Ks::pairPayout),
              payoutText(payoutPer100(quinellaChance(p, p1, p2), kPairTakeout), Ks::pairPayout.width, kMostPairPayout));
    if constexpr (std::is_same_v<Ks, zm::Ks98Record>) {
        // Every pair of the placed runners: three, or one in a small field.
        int pair = 0;
        for (int i = 0; i < o.places; ++i) {
            for (int j = i + 1; j < o.places; ++j) {
                const int a = std::min(o.order[size_t(i)], o.order[size_t(j)]);
                const int b = std::max(o.order[size_t(i)], o.order[size_t(j)]);
                ++pair;
                r.setText(inEntry(Ks::wide, pair, Ks::pairFirst), two(a));
                r.setText(inEntry(Ks::wide, pair, Ks::pairSecond), two(b));
                r.setText(inEntry(Ks::wide, pair, Ks::pairPayout),
                          payoutText(payoutPer100(placedChance(p, a, b, o.places), kPairTakeout), Ks::pairPayout.width,
                                     kMostPairPayout));
            }
        }
        r.setText(Ks::lineEnd, u"\r\n");
    }
    if (o.returned > 0) {
        r.setText(Ks::returned.element(1), two(o.returned));
        r.setText(Ks::returnedMarks.element(1), u"1");
    }
    return r.bytes();
}

struct Bet {
    QString type, venue, race, first, second;
    int units = 1;
    int state = 1;
    QString sale = QStringLiteral("1");
};

QByteArray lgBytes(const QString& day, const std::vector<Bet>& bets) {
    zm::Lg95Record r;
    r.setText(zm::Lg95Record::year, day.left(4));
    r.setText(zm::Lg95Record::month, day.mid(4, 2));
    r.setText(zm::Lg95Record::day, day.mid(6, 2));
    r.setText(zm::Lg95Record::header1, u"01");
    for (size_t i = 0; i < bets.size() && i < 50; ++i) {
        const Bet& b = bets[i];
        auto at = [&](const Field& f) { return inEntry(zm::Lg95Record::entries, int(i) + 1, f); };
        r.setText(at(zm::Lg95Record::entryText), QString::number(int(i) + 1).rightJustified(3, u'0'));
        r.setText(at(zm::Lg95Record::betType), b.type);
        r.setText(at(zm::Lg95Record::venue), b.venue);
        r.setText(at(zm::Lg95Record::raceNo), b.race);
        r.setText(at(zm::Lg95Record::saleKind), b.sale);
        r.setText(at(zm::Lg95Record::first), b.first);
        r.setText(at(zm::Lg95Record::second), b.second);
        r.setText(at(zm::Lg95Record::stake), QString::number(b.units).rightJustified(4, u'0'));
        r.setText(at(zm::Lg95Record::state), QString::number(b.state).rightJustified(2, u'0'));
    }
    return r.bytes();
}

}  // namespace

QString resultFileSuffix(int dayIndex) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const int n = dayIndex + 1;
    return QString(QChar(digits[(n / 36) % 36])) + QChar(digits[n % 36]);
}

bool writePatResults(const QString& patDir, const QByteArray& races, const QDate& date, std::uint64_t seed,
                     bool pat95, int dayIndex, QStringList& written, QString& message) {
    if (!QDir().mkpath(patDir)) {
        message = patDir + QStringLiteral(": cannot create the folder");
        return false;
    }
    const QString day = date.toString(QStringLiteral("yyyyMMdd"));
    for (const Outcome& o : outcomes(races, date, seed)) {
        const QString code = zm::PatFileCode(o.venueCode, QString::number(o.raceNo), o.nichi);
        const QByteArray ks = pat95 ? ksBytes<zm::Ks95Record>(o, day) : ksBytes<zm::Ks98Record>(o, day);
        const QString path = patDir + QStringLiteral("KS-") + code + resultFileSuffix(dayIndex) + QStringLiteral(".JRA");
        if (const Status s = SafeSave::save(path, ks); !s) {
            message = s.message();
            return false;
        }
        written << path;
    }
    return true;
}

bool writePatSample(const QString& patDir, const QByteArray& races, const QDate& date, std::uint64_t seed, bool pat95,
                    QStringList& written, QString& message) {
    if (!QDir().mkpath(patDir)) {
        message = patDir + QStringLiteral(": cannot create the folder");
        return false;
    }
    const QString day = date.toString(QStringLiteral("yyyyMMdd"));
    const std::vector<Outcome> races_ = outcomes(races, date, seed);
    Rng rng(seed * 7 + 11);
    auto save = [&](const QString& name, const QByteArray& bytes) {
        if (const Status s = SafeSave::save(patDir + name, bytes); !s) {
            message = s.message();
            return false;
        }
        written << patDir + name;
        return true;
    };
    std::vector<Bet> bets;
    for (const Outcome& o : races_) {
        const QString code = zm::PatFileCode(o.venueCode, QString::number(o.raceNo), o.nichi);
        const QByteArray ks = pat95 ? ksBytes<zm::Ks95Record>(o, day) : ksBytes<zm::Ks98Record>(o, day);
        if (!save(QStringLiteral("KS-") + code + QStringLiteral("01.JRA"), ks))
            return false;
        // A racing fan's day: small stakes on the market's favourites, so mostly misses and a
        // few hits at what the results pay; a bet on the horse returned (a refund), a quinella
        // bought the day before and a wide left unbought.
        const QString venue = ServiceToJraCode(o.venueCode);
        const QString race = two(o.raceNo).replace(u' ', u'0');
        std::vector<int> fav;
        for (int h = 1; h <= o.runners; ++h) {
            if (h != o.returned)
                fav.push_back(h);
        }
        std::stable_sort(fav.begin(), fav.end(), [&](int a, int b) { return o.market[size_t(a)] > o.market[size_t(b)]; });
        auto pair = [&](int a, int b, const QString& type, int units, int state = 1,
                        const QString& sale = QStringLiteral("1")) {
            bets.push_back({type, venue, race, two(std::min(a, b)), two(std::max(a, b)), units, state, sale});
        };
        if (o.raceNo % 3 == 0)
            bets.push_back({QStringLiteral("1"), venue, race, two(fav[0]), QString(), rng.between(1, 3)});
        if (o.raceNo == 4 || o.raceNo == 7)
            bets.push_back({QStringLiteral("2"), venue, race, two(fav[0]), QString(), 2});
        if (o.raceNo % 4 == 1)
            pair(fav[0], fav[1], QStringLiteral("4"), 1, 1, QStringLiteral("2"));
        if (o.raceNo == 11)
            pair(o.waku[size_t(fav[0])], o.waku[size_t(fav[1])], QStringLiteral("3"), 1);
        if (o.raceNo >= 10)
            pair(fav[0], fav[2], QStringLiteral("5"), 1);
        if (o.returned > 0)
            bets.push_back({QStringLiteral("1"), venue, race, two(o.returned), QString(), 1});
        if (o.raceNo == 12)
            pair(fav[0], fav[1], QStringLiteral("5"), 3, 0);  // not bought
    }
    // At most 50 entries a file; several files.
    int file = 1;
    for (size_t at = 0; at < bets.size(); at += 30, ++file) {
        const std::vector<Bet> part(bets.begin() + qsizetype(at), bets.begin() + qsizetype(std::min(bets.size(), at + 30)));
        if (!save(QStringLiteral("LG-") + QString::number(file).rightJustified(2, u'0') + QStringLiteral(".JRA"),
                  lgBytes(day, part)))
            return false;
    }
    // A log of the day before, which the views leave out.
    return save(QStringLiteral("LG-99.JRA"), lgBytes(date.addDays(-1).toString(QStringLiteral("yyyyMMdd")),
                                                     {{QStringLiteral("1"), QStringLiteral("05"), QStringLiteral("01"),
                                                       QStringLiteral(" 1"), QString(), 9}}));
}

}  // namespace zm::sample
