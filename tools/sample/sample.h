#pragma once

// Realistic, deterministic sample data of the racing-data service: race-card archives of
// whole race days, a two-day archive, predicted-odds archives, old-format archives, the
// jockey file and batch inputs. The same seed and date give the same bytes.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace zm::sample {

// splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in lo..hi (both included).
    int between(int lo, int hi);
    bool chance(double p);

private:
    std::uint64_t state_;
};

// The three files of a race-card archive.
struct DayFiles {
    QByteArray races;    // "mur_den1.kd2"
    QByteArray entries;  // "mur_den2.kd2"
    QByteArray horses;   // "mur_uma.kd2"
};

struct DayShape {
    int venues = 3;          // at most 5
    int racesPerVenue = 12;  // 1..12
};

// One race day: venues in the service's file order (not JRA order), twelve races each,
// 5 to 18 runners; one steeplechase, one field of five, one pair of identical runners.
DayFiles makeDay(const QDate& date, std::uint64_t seed, const DayShape& shape = {});

// A race day followed by the next day's graded races (the two-day archive's files).
DayFiles makeTwoDays(const QDate& date, std::uint64_t seed);

// The jockey file: 60 jockeys with codes "01001".."01060" (the race cards also use codes
// from "01061" up, which the file does not hold).
QByteArray makeJockeyFile(std::uint64_t seed);

// The predicted-odds file of a race file's races, with the '*', '/' and '-' markers: the
// market's odds (racing.h) a little off, so the favourites are the horses the market rates
// best; the pairs among them have short quinella odds, and some sit right at 30.0 (12.5, 29.9,
// 30.0, 30.1), where the odds-filtered prediction style draws its line. The horse file is not
// needed (the race file's horse codes give the strengths); callers may still pass it.
QByteArray makeOddsFile(const QByteArray& races, std::uint64_t seed, const QByteArray& horses = {});

// The archive bytes of a race day.
QByteArray dayArchive(const DayFiles& day);

// "yymmdd" of a date.
QString yymmdd(const QDate& date);

// The default sample day: a Saturday.
QDate defaultDate();

// Race days (Saturdays and Sundays) going back from date, date first.
QList<QDate> raceDaysBack(const QDate& date, int count);

struct SampleOptions {
    QString home;                       // the program folder
    QDate date = defaultDate();         // the day of the race-card archives
    std::uint64_t seed = 20261205;
    int days = 4;                       // batch archives "hb" + yymmdd + ".lzh", with their results
    DayShape shape;
    bool pat95 = false;                 // PAT's result files in PAT95's layout (else PAT98's)
};

// Writes the sample into the home folder: mur_kis.kd2, and in MurData/ the archives
// "H" + yymmdd + ".LZH", "HZ" + yymmdd + ".LZH", "j" + yymmdd + ".lzh", the old-format
// archives "HO" + yymmdd + ".LZH" and "jo" + yymmdd + ".lzh", the batch inputs with the
// predicted odds of each further day ("j" + yymmdd + ".lzh"), and in PAT/
// PAT's result and log files of the day (writePatSample) and the result files of every other
// batch day (writePatResults).
// Returns the files written; false with message when a file cannot be written.
bool writeSample(const SampleOptions& options, QStringList& written, QString& message);

// PAT's files of the sample day into patDir: one result file "KS-" + file code + "01.JRA" per
// race (a dead heat for first, a returned horse, a small field with one wide pair) and betting
// logs "LG-01.JRA", ... with bought and unbought entries, an advance sale, hits and misses,
// and "LG-99.JRA" of the day before.
bool writePatSample(const QString& patDir, const QByteArray& races, const QDate& date, std::uint64_t seed, bool pat95,
                    QStringList& written, QString& message);

// The last two characters of a result file's name for the day at dayIndex of the sample's
// days (0 the sample day: "01"), so that the results of many days share PAT's folder.
QString resultFileSuffix(int dayIndex);

// PAT's result files of one race day, consistent with its races (one "KS-" + file code +
// resultFileSuffix(dayIndex) + ".JRA" per race), without logs.
bool writePatResults(const QString& patDir, const QByteArray& races, const QDate& date, std::uint64_t seed,
                     bool pat95, int dayIndex, QStringList& written, QString& message);

}  // namespace zm::sample
