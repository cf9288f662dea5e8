#include "sample/sample.h"

#include "sample/racing.h"

#include "app/safe_save.h"
#include "codes/sjis.h"
#include "import/archive.h"
#include "import/records.h"

#include <QDir>
#include <array>
#include <cmath>
#include <vector>

namespace zm::sample {

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Rng::between(int lo, int hi) {
    if (hi <= lo)
        return lo;
    return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
}

bool Rng::chance(double p) { return static_cast<double>(next() >> 11) / 9007199254740992.0 < p; }

namespace {

// ---------------------------------------------------------------------------------------------
// Text pieces

const char16_t* const kKana[] = {u"ア", u"イ", u"ウ", u"エ", u"オ", u"カ", u"キ", u"ク", u"ケ", u"コ", u"サ", u"シ",
                                 u"ス", u"セ", u"ソ", u"タ", u"チ", u"ツ", u"テ", u"ト", u"ナ", u"ニ", u"ノ", u"ハ",
                                 u"ヒ", u"フ", u"ホ", u"マ", u"ミ", u"ム", u"メ", u"モ", u"ヤ", u"ユ", u"ヨ", u"ラ",
                                 u"リ", u"ル", u"レ", u"ロ", u"ワ", u"ン", u"ガ", u"ギ", u"グ", u"ゴ", u"ザ", u"ジ",
                                 u"ズ", u"ダ", u"デ", u"ド", u"バ", u"ビ", u"ブ", u"ベ", u"ボ", u"パ", u"ピ", u"プ",
                                 u"ー", u"ッ"};
const char16_t* const kSurnames[] = {u"武田", u"横山", u"福永", u"岩田", u"川田", u"池添", u"戸崎", u"田辺",
                                     u"吉田", u"松山", u"北村", u"藤岡", u"浜中", u"和田", u"幸", u"石橋",
                                     u"丸山", u"坂井", u"菅原", u"西村", u"鮫島", u"団野", u"岩田", u"津村"};
const char16_t* const kGiven[] = {u"豊", u"典", u"祐", u"康", u"将", u"謙", u"圭", u"裕", u"隼", u"弘",
                                  u"友", u"佑", u"健", u"竜", u"英", u"勝", u"克", u"瑞"};
const char16_t* const kRaceNames[] = {u"ステークス", u"特別", u"賞", u"カップ", u"記念", u"Ｓ"};
const char16_t* const kPlaces[] = {u"桜花", u"嵐山", u"比叡", u"鞍馬", u"紅葉", u"霜月", u"師走", u"冬至",
                                   u"白梅", u"雪見", u"銀杏", u"千両"};

QString katakanaName(Rng& rng, int minLen, int maxLen) {
    QString name;
    const int n = rng.between(minLen, maxLen);
    constexpr int kLongVowel = int(std::size(kKana)) - 2;  // "ー" and "ッ" never begin a name
    constexpr int kN = 41;                                // nor does "ン"
    for (int i = 0; i < n; ++i) {
        int k = rng.between(0, i == 0 ? kLongVowel - 1 : int(std::size(kKana)) - 1);
        if (i == 0 && k == kN) {
            k = 0;
        }
        name += QString::fromUtf16(kKana[k]);
    }
    return name;
}

QString personName(Rng& rng) {
    return QString::fromUtf16(kSurnames[rng.between(0, int(std::size(kSurnames)) - 1)]) +
           QString::fromUtf16(kGiven[rng.between(0, int(std::size(kGiven)) - 1)]);
}

QString digits(Rng& rng, int n) {
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(u'0' + rng.between(0, 9));
    return s;
}

// Right-aligned in width with zeros ("0035").
QString zeros(int v, int width) { return QString::number(v).rightJustified(width, u'0'); }
// Right-aligned in width with blanks.
QString blanks(int v, int width) { return QString::number(v).rightJustified(width, u' '); }

// ---------------------------------------------------------------------------------------------
// Day layout

// The venues of a day in the service's file order: 京都, 中山, 中京 in the winter, others in
// summer; never in JRA order, so that the day file's sort shows.
std::array<const char*, 5> venuesOf(const QDate& date) {
    if (date.month() >= 6 && date.month() <= 9)
        return {"06", "08", "07", "09", "02"};  // 福島, 札幌, 新潟, 函館, 中京
    return {"00", "05", "02", "04", "01"};      // 京都, 中山, 中京, 東京, 阪神
}

struct RacePlan {
    int runners;
    QString raceClass;
    int prizeClass;
    QString surface;  // "0" dirt, "1" turf
    int distance;
    bool debut;       // horses without past runs
    int twinAt;       // umaban of a runner copied from the one before it, 0 for none
};

RacePlan planRace(Rng& rng, int venue, int raceNo) {
    RacePlan p{};
    p.runners = rng.between(10, 18);
    p.raceClass = QString::number(rng.between(1, 4));
    p.surface = rng.chance(0.5) ? QStringLiteral("1") : QStringLiteral("0");
    static const int kDistances[] = {1000, 1150, 1200, 1400, 1600, 1700, 1800, 2000, 2200, 2400, 2500, 3000};
    p.distance = kDistances[rng.between(0, int(std::size(kDistances)) - 1)];
    switch (raceNo) {
    case 1:
    case 2:
        p.prizeClass = 3;  // 未勝利
        break;
    case 3:
        p.prizeClass = 1;  // 新馬
        p.debut = true;
        p.raceClass = QStringLiteral("1");
        break;
    case 4:
        p.prizeClass = 2;  // 未出走
        break;
    case 5:
    case 6:
    case 7:
        p.prizeClass = 5000;
        break;
    case 8:
    case 9:
        p.prizeClass = 10000;
        break;
    case 10:
        p.prizeClass = 16000;
        break;
    case 11:
        p.prizeClass = rng.chance(0.5) ? 4 : 9;  // オープン
        break;
    default:
        p.prizeClass = venue == 2 ? 0 : 10000;
        break;
    }
    if (venue == 1 && raceNo == 4) {  // a steeplechase
        p.raceClass = QStringLiteral("0");
        p.surface = QStringLiteral("1");
        p.distance = 3000 + 30 * rng.between(0, 10);
        p.prizeClass = 3;
    }
    if (venue == 2 && raceNo == 1)  // a small field
        p.runners = 5;
    if (venue == 0 && raceNo == 6)  // two identical runners
        p.twinAt = 4;
    return p;
}

// Waku of horse number u in a field of n: brackets fill from 8 backwards when n > 8.
int wakuOf(int u, int n) {
    if (n <= 8)
        return u;
    const int base = n / 8;
    const int extra = n % 8;
    // Brackets 1 .. 8 - extra hold base horses, the others base + 1.
    int first = 1;
    for (int w = 1; w <= 8; ++w) {
        const int size = w <= 8 - extra ? base : base + 1;
        if (u < first + size)
            return w;
        first += size;
    }
    return 8;
}

// ---------------------------------------------------------------------------------------------
// Records

void fillRaceKey(FixedRecord<779>& rec, const QString& venue, const QDate& date, int kai, int nichi, int raceNo) {
    rec.setText(RaceRecord::venueCode, venue);
    rec.setText(RaceRecord::meetingYear, QString::number(date.year()));
    rec.setText(RaceRecord::kai, zeros(kai, 2));
    rec.setText(RaceRecord::nichi, zeros(nichi, 2));
    rec.setText(RaceRecord::raceNo, zeros(raceNo, 2));
    rec.setText(RaceRecord::raceYear, QString::number(date.year()));
    rec.setText(RaceRecord::raceMonth, zeros(date.month(), 2));
    rec.setText(RaceRecord::raceDay, zeros(date.day(), 2));
}

PastRun makePastRun(Rng& rng, const QDate& date, const RacePlan& plan, int k, double form) {
    PastRun run;
    const QDate when = date.addDays(-14 * k - rng.between(0, 6));
    const QString venue = zeros(rng.between(0, 9), 2);
    run.setText(PastRun::venueCode, venue);
    run.setText(PastRun::meetingYear, QString::number(when.year()));
    run.setText(PastRun::kai, zeros(rng.between(1, 5), 2));
    run.setText(PastRun::nichi, zeros(rng.between(1, 8), 2));
    run.setText(PastRun::raceNo, zeros(rng.between(1, 12), 2));
    run.setText(PastRun::raceYear, QString::number(when.year()));
    run.setText(PastRun::raceMonth, zeros(when.month(), 2));
    run.setText(PastRun::raceDay, zeros(when.day(), 2));
    run.setText(PastRun::courseLayout, 1, rng.chance(0.7) ? plan.surface : (plan.surface == u"1" ? QStringLiteral("0") : QStringLiteral("1")));
    run.setText(PastRun::courseLayout, 2, QString::number(rng.between(0, 1)));
    run.setText(PastRun::courseLayout, 3, QString::number(rng.between(0, 1)));
    run.setText(PastRun::courseLayout, 4, QString::number(rng.between(0, 5)));
    run.setText(PastRun::distance, QString::number(std::max(1000, plan.distance + 100 * rng.between(-4, 4))));
    const int field = rng.between(8, 18);
    run.setText(PastRun::runnerCount, zeros(field, 2));
    // The stronger the horse, the nearer the front it finished and the better its figure.
    const int finish = std::clamp(int(std::lround(field * (0.5 - 0.28 * form))) + rng.between(-3, 3), 1, field);
    run.setText(PastRun::finishPos, zeros(finish, 2));
    const int figure = rng.chance(0.08) ? 0 : std::clamp(int(std::lround(68 + 14 * form)) + rng.between(-12, 12), 1, 130);
    run.setText(PastRun::figure, zeros(figure, 3));
    const int popularity = std::clamp(finish + rng.between(-3, 3), 1, field);
    run.setText(PastRun::popularity, zeros(popularity, 2));
    run.setText(PastRun::odds, zeros(std::max(11, popularity * popularity * 12 + rng.between(0, 40)), 5));
    for (int c = 1; c <= 4; ++c) {
        const int pos = rng.chance(0.05) ? 0 : std::clamp(finish + rng.between(-4, 4), 1, field);
        run.setText(PastRun::cornerPos, c, zeros(pos, 2));
    }
    run.setText(Field{"raceName", 29, 30}, QString::fromUtf16(kPlaces[rng.between(0, int(std::size(kPlaces)) - 1)]) +
                                               QString::fromUtf16(kRaceNames[rng.between(0, 5)]));
    run.setText(Field{"time", 254, 5}, zeros(rng.between(580, 2400), 5));
    return run;
}

struct Runner {
    QString code;
    QString name;
    double form = 0;  // the hidden form (hiddenForm)
};

struct DayBuilder {
    QDate date;
    std::uint64_t seed;
    Rng rng;
    int horseSerial = 0;
    QByteArray races;
    QByteArray entries;
    QByteArray horses;

    DayBuilder(const QDate& d, std::uint64_t s) : date(d), seed(s), rng(s ^ (std::uint64_t(d.toJulianDay()) << 20)) {}

    QString nextHorseCode() {
        ++horseSerial;
        return QString::number((date.year() - 3) % 100).rightJustified(2, u'0') +
               zeros((date.dayOfYear() * 97 + horseSerial) % 100000, 5);
    }

    void addRace(const QString& venue, int venueIndex, int kai, int nichi, int raceNo, const RacePlan& plan) {
        RaceRecord race;
        fillRaceKey(race, venue, date, kai, nichi, raceNo);
        race.setText(Field{"x20", 20, 2}, digits(rng, 2));
        race.setText(Field{"raceName", 28, 30},
                     raceNo >= 9 ? QString::fromUtf16(kPlaces[rng.between(0, int(std::size(kPlaces)) - 1)]) +
                                       QString::fromUtf16(kRaceNames[rng.between(0, 5)])
                                 : QString());
        race.setText(Field{"x113", 113, 8}, digits(rng, 8));
        race.setText(Field{"x276", 276, 45}, digits(rng, 45));
        race.setText(RaceRecord::raceClass, plan.raceClass);
        race.setText(RaceRecord::prizeClass, blanks(plan.prizeClass, 5));
        race.setText(RaceRecord::courseLayout, 1, plan.surface);
        race.setText(RaceRecord::courseLayout, 2, QString::number(rng.between(0, 1)));
        race.setText(RaceRecord::courseLayout, 3, QString::number(rng.between(0, 1)));
        race.setText(RaceRecord::courseLayout, 4, QString::number(rng.between(0, 5)));
        race.setText(RaceRecord::distance, QString::number(plan.distance));
        const int minutes = 9 * 60 + 50 + (raceNo - 1) * 30 + venueIndex * 10;
        race.setText(RaceRecord::postTime, zeros(minutes / 60, 2) + u':' + zeros(minutes % 60, 2));
        race.setText(RaceRecord::runnerCount, zeros(plan.runners, 2));
        race.setText(RaceRecord::paceCode, QString::number(rng.between(0, 2)));
        race.setText(Field{"x357", 357, 140}, QStringLiteral("展開予想：") + katakanaName(rng, 3, 6));

        std::vector<Runner> runners;
        for (int u = 1; u <= plan.runners; ++u) {
            Runner r{nextHorseCode(), katakanaName(rng, 2, 9)};
            r.form = hiddenForm(seed, r.code);
            runners.push_back(r);
            RunnerSlot slot;
            slot.setText(RunnerSlot::waku, QString::number(wakuOf(u, plan.runners)));
            slot.setText(RunnerSlot::umaban, zeros(u, 2));
            slot.setText(RunnerSlot::horseCode, r.code);
            race.setRunner(u, slot);
        }
        races.append(race.bytes());

        EntryRecord previousEntry;
        HorseRecord previousHorse;
        for (int u = 1; u <= plan.runners; ++u) {
            const Runner& r = runners[static_cast<size_t>(u - 1)];
            const bool twin = plan.twinAt != 0 && u == plan.twinAt + 1;
            EntryRecord entry = twin ? previousEntry : makeEntry(race, plan, r);
            HorseRecord horse = twin ? previousHorse : makeHorse(plan, r);
            if (twin) {
                // The same horse in all but its number, code and name.
                entry.setText(EntryRecord::horseCode, r.code);
                entry.setText(EntryRecord::horseName, r.name);
                horse.setText(HorseRecord::horseCode, r.code);
                horse.setText(HorseRecord::horseName, r.name);
            }
            entry.setText(EntryRecord::waku, QString::number(wakuOf(u, plan.runners)));
            entry.setText(EntryRecord::umaban, zeros(u, 2));
            entries.append(entry.bytes());
            horses.append(horse.bytes());
            previousEntry = entry;
            previousHorse = horse;
        }
    }

    EntryRecord makeEntry(const RaceRecord& race, const RacePlan& plan, const Runner& r) {
        EntryRecord e;
        e.setRaw(EntryRecord::raceKey, race.raw(RaceRecord::raceKey));
        e.setText(Field{"x20", 20, 2}, digits(rng, 2));
        e.setText(EntryRecord::horseCode, r.code);
        e.setText(EntryRecord::horseName, r.name);
        e.setText(EntryRecord::sex, QString::number(rng.chance(0.6) ? 0 : rng.between(1, 2)));
        const int age = plan.debut ? 2 : rng.between(2, 7);
        e.setText(EntryRecord::age, zeros(age, 2));
        e.setText(Field{"sire", 22 + 45, 40}, katakanaName(rng, 4, 9));
        e.setText(EntryRecord::cardMark, rng.chance(0.1) ? u"1" : u"0");
        e.setText(EntryRecord::weight, QString::number(500 + 10 * rng.between(0, 9)));
        // Codes 01001..01060 are in the jockey file; 01061..01070 are not.
        e.setText(EntryRecord::jockeyCode, QStringLiteral("01") + zeros(1000 + rng.between(1, 70), 3).right(3));
        const QString jockey = personName(rng);
        e.setText(Field{"jockeyName", 156, 32}, jockey);
        e.setText(EntryRecord::jockeyShort, jockey);
        const QString trainer = personName(rng);
        e.setText(Field{"trainerName", 211, 32}, trainer);
        e.setText(EntryRecord::trainerShort, trainer);
        // The stable's home after the trainer's short name: 東 or 西 for the two training centres,
        // now and then 地 (a local course); taken from the name, which draws nothing more.
        int nameSum = 0;
        for (QChar c : trainer)
            nameSum += c.unicode();
        e.setText(Field{"affiliation", 251, 2}, nameSum % 20 < 9 ? u"東" : nameSum % 20 < 19 ? u"西" : u"地");
        // The service's rating: 0 its best, 9 its worst.
        e.setText(EntryRecord::ratingDigit,
                  QString::number(std::clamp(int(std::lround(4.5 - 2.2 * r.form)) + rng.between(-2, 2), 0, 9)));
        for (int w = 1; w <= 3; ++w)
            e.setText(EntryRecord::works.element(w), digits(rng, 60));
        e.setText(Field{"comment", 607, 86}, QStringLiteral("調教良好") + katakanaName(rng, 2, 5));
        return e;
    }

    HorseRecord makeHorse(const RacePlan& plan, const Runner& r) {
        HorseRecord h;
        h.setText(HorseRecord::horseCode, r.code);
        h.setText(HorseRecord::horseName, r.name);
        h.setText(Field{"sire", 37, 40}, katakanaName(rng, 4, 9));
        h.setText(Field{"x77", 77, 8}, digits(rng, 8));
        const int runs = plan.debut ? 0 : (rng.chance(0.1) ? 0 : rng.between(1, 5));
        for (int k = 0; k < 16; ++k) {
            for (int j = 0; j < 4; ++j) {
                // Wins and places at the course: more of them for a stronger horse.
                const int good = std::clamp(int(std::lround(1.5 + 1.2 * r.form)), 0, 4);
                const int a = runs == 0 ? 0 : rng.between(0, j == 3 ? 9 : good);
                h.setText(HorseRecord::statsAField(k, j), zeros(a, 2));
                h.setText(HorseRecord::statsCField(k, j), zeros(runs == 0 ? 0 : rng.between(0, 5), 2));
            }
            h.setText(HorseRecord::statsBField(k), zeros(rng.between(0, 99), 2));
        }
        for (int k = 1; k <= runs; ++k)
            h.setPastRun(k, makePastRun(rng, date, plan, k, r.form));
        for (int i = 1; i <= std::min(runs * 4, 50); ++i)
            h.setText(HorseRecord::history.element(i), digits(rng, 12) + digits(rng, 8) + u'1' + zeros(i, 2));
        return h;
    }
};

void addDay(DayBuilder& b, const DayShape& shape, bool gradedOnly) {
    const auto venues = venuesOf(b.date);
    const int kai = 1 + (b.date.month() - 1) % 5;
    const int nichi = b.date.dayOfWeek() == Qt::Sunday ? 2 : 1;
    const int nVenues = std::clamp(shape.venues, 1, 5);
    for (int v = 0; v < nVenues; ++v) {
        const QString venue = QString::fromLatin1(venues[static_cast<size_t>(v)]);
        if (gradedOnly) {
            RacePlan plan = planRace(b.rng, v, 11);
            plan.prizeClass = 9;
            b.addRace(venue, v, kai, nichi, 11, plan);
            continue;
        }
        for (int r = 1; r <= std::clamp(shape.racesPerVenue, 1, 12); ++r)
            b.addRace(venue, v, kai, nichi, r, planRace(b.rng, v, r));
    }
}

bool save(const QString& path, const QByteArray& bytes, QStringList& written, QString& message) {
    if (const Status saved = SafeSave::save(path, bytes); !saved) {
        message = saved.message();
        return false;
    }
    written << path;
    return true;
}

}  // namespace

QString yymmdd(const QDate& date) { return date.toString(QStringLiteral("yyMMdd")); }

QDate defaultDate() { return QDate(2026, 12, 5); }

QList<QDate> raceDaysBack(const QDate& date, int count) {
    QList<QDate> days;
    for (QDate d = date; days.size() < count; d = d.addDays(-1)) {
        if (d.dayOfWeek() == Qt::Saturday || d.dayOfWeek() == Qt::Sunday)
            days << d;
    }
    return days;
}

DayFiles makeDay(const QDate& date, std::uint64_t seed, const DayShape& shape) {
    DayBuilder b(date, seed);
    addDay(b, shape, false);
    return {b.races, b.entries, b.horses};
}

DayFiles makeTwoDays(const QDate& date, std::uint64_t seed) {
    DayFiles first = makeDay(date, seed);
    DayBuilder next(date.addDays(1), seed + 1);
    next.horseSerial = 5000;  // codes apart from the first day's
    addDay(next, DayShape{}, true);
    first.races += next.races;
    first.entries += next.entries;
    first.horses += next.horses;
    return first;
}

QByteArray makeJockeyFile(std::uint64_t seed) {
    Rng rng(seed * 31 + 7);
    QByteArray out;
    for (int i = 1; i <= 60; ++i) {
        JockeyRecord j;
        j.setText(JockeyRecord::jockeyCode, QStringLiteral("01") + zeros(i, 3));
        j.setText(JockeyRecord::jockeyName, personName(rng));
        j.setText(Field{"x37", 37, 8}, digits(rng, 8));
        const int skill = rng.between(0, 10);
        const bool rookie = i % 15 == 0;  // no rides yet: both rates fall to the floor of 7
        for (int k = 1; k <= 4; ++k) {
            const int a = rookie ? 0 : (k <= 2 ? rng.between(0, 3 + skill * 4) : rng.between(10, 120));
            j.setText(JockeyRecord::countsA, k, zeros(a, 3));
            const int b = rookie ? 0 : (k <= 2 ? rng.between(0, 20 + skill * 30) : rng.between(100, 900));
            j.setText(JockeyRecord::countsB, k, zeros(b, 5));
        }
        for (int g = 0; g < 43; ++g) {
            for (int k = 0; k < 4; ++k)
                j.setText(JockeyRecord::statGroupField(g, k), zeros(rng.between(0, 30), 3));
        }
        out.append(j.bytes());
    }
    return out;
}

namespace {

}  // namespace

QByteArray dayArchive(const DayFiles& day) {
    return writeArchive({{QStringLiteral("mur_den1.kd2"), day.races},
                         {QStringLiteral("mur_den2.kd2"), day.entries},
                         {QStringLiteral("mur_uma.kd2"), day.horses}});
}

bool writeSample(const SampleOptions& options, QStringList& written, QString& message) {
    const QString home = QDir(options.home).absolutePath() + u'/';
    const QString murData = home + QStringLiteral("MurData/");
    for (const QString& folder : {home, murData, home + QStringLiteral("Data/"), home + QStringLiteral("OutPut/"),
                                  home + QStringLiteral("Work/")}) {
        if (!QDir().mkpath(folder)) {
            message = folder + QStringLiteral(": cannot create the folder");
            return false;
        }
    }
    const QDate date = options.date;
    const QString day = yymmdd(date);
    if (!save(home + QStringLiteral("mur_kis.kd2"), makeJockeyFile(options.seed), written, message))
        return false;

    const DayFiles main = makeDay(date, options.seed, options.shape);
    if (!save(murData + u'H' + day + QStringLiteral(".LZH"), dayArchive(main), written, message))
        return false;
    const DayFiles two = makeTwoDays(date, options.seed);
    if (!save(murData + QStringLiteral("HZ") + day + QStringLiteral(".LZH"), dayArchive(two), written, message))
        return false;
    const QByteArray odds = makeOddsFile(main.races, options.seed, main.horses);
    if (!save(murData + u'j' + day + QStringLiteral(".lzh"), writeArchive({{QStringLiteral("mur_ods.kd2"), odds}}),
              written, message))
        return false;

    // The service's old formats, which the program refuses.
    const QByteArray oldCard = writeArchive({{QStringLiteral("mur_den.DAT"), main.races.left(779 * 2)},
                                             {QStringLiteral("mur_uma.DAT"), main.horses.left(5166)}});
    if (!save(murData + QStringLiteral("HO") + day + QStringLiteral(".LZH"), oldCard, written, message))
        return false;
    if (!save(murData + QStringLiteral("jo") + day + QStringLiteral(".lzh"),
              writeArchive({{QStringLiteral("mur_ods.DAT"), odds.left(1504 * 2)}}), written, message))
        return false;

    if (!writePatSample(home + QStringLiteral("PAT/"), main.races, date, options.seed, options.pat95, written, message))
        return false;

    const QList<QDate> batchDays = raceDaysBack(date, options.days);
    for (qsizetype i = 0; i < batchDays.size(); ++i) {
        const QDate& d = batchDays[i];
        const DayFiles batchDay = makeDay(d, options.seed, options.shape);
        if (!save(murData + QStringLiteral("hb") + yymmdd(d) + QStringLiteral(".lzh"), dayArchive(batchDay), written,
                  message))
            return false;
        // Every day's predicted odds, for the prediction style that reads them.
        if (d != date && !save(murData + u'j' + yymmdd(d) + QStringLiteral(".lzh"),
                               writeArchive({{QStringLiteral("mur_ods.kd2"), makeOddsFile(batchDay.races, options.seed)}}),
                               written, message))
            return false;
        // The sample day's results are written above with its logs.
        if (d != date && !writePatResults(home + QStringLiteral("PAT/"), batchDay.races, d, options.seed,
                                          options.pat95, int(i) + 1, written, message))
            return false;
    }
    return true;
}

}  // namespace zm::sample
