#include "predict/predict_day.h"

#include "app/context.h"
#include "app/file_set.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/side_by_side.h"
#include "codes/sjis.h"
#include "import/race_model.h"

#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace zm {

namespace {

constexpr int kMaxVenues = 5;

QString oddsKey(const QString& venueCode, int raceNo) {
    return venueCode + u'|' + QString::number(raceNo);
}

}  // namespace

void OddsLookup::load(const RecordFile& file) {
    records_.clear();
    first_.clear();
    records_.reserve(static_cast<size_t>(file.count()));
    for (int n = 1; n <= file.count(); ++n) {
        OddsRecord rec = file.get<OddsRecord>(n);
        const QString key = oddsKey(fromSjis(rec.raw(OddsRecord::venueCode)), ToInt16(rec.number(OddsRecord::raceNo)));
        if (!first_.contains(key)) {
            first_.insert(key, static_cast<int>(records_.size()));
        }
        records_.push_back(std::move(rec));
    }
}

const OddsRecord* OddsLookup::find(const QString& venueCode, int raceNo) const {
    const auto it = first_.constFind(oddsKey(venueCode, raceNo));
    if (it == first_.constEnd()) {
        return nullptr;
    }
    return &records_[static_cast<size_t>(*it)];
}

PredictedRace predictedRaceOf(const RaceRecord& race) {
    PredictedRace p;
    p.RaceDate = fromSjis(race.raw(RaceRecord::raceDate));
    p.VenueCode = fromSjis(race.raw(RaceRecord::venueCode));
    p.Meeting = ToInt16(race.number(RaceRecord::kai));
    p.DayNo = ToInt16(race.number(RaceRecord::nichi));
    p.RaceNo = ToInt16(race.number(RaceRecord::raceNo));
    // Only the upper end is capped: a count below 1 is kept as read (no runner is loaded).
    p.RunnerCount = std::min<std::int16_t>(ToInt16(race.number(RaceRecord::runnerCount)), kRunnerSlots);
    p.Distance = fromSjis(race.raw(RaceRecord::distance));
    p.Field99 = fromSjis(race.raw(RaceRecord::prizeClass));
    p.Field97 = fromSjis(race.raw(RaceRecord::raceClass));
    const QString time = fromSjis(race.raw(RaceRecord::postTime));
    p.StartTime = LeftBytes(time, 2) + RightBytes(time, 2) + u' ';
    p.Field348 = fromSjis(race.raw(RaceRecord::paceCode));
    for (int i = 1; i <= p.RunnerCount; ++i) {
        p.RunnerCodes[static_cast<size_t>(i - 1)] = fromSjis(race.raw(RaceRecord::runnerField(i, RunnerSlot::horseCode)));
    }
    p.scoring.runnerCount = p.RunnerCount;
    p.scoring.distance = ToInt16(race.number(RaceRecord::distance));
    p.scoring.surface = fromSjis(race.raw(RaceRecord::courseLayout.element(1)));
    p.scoring.prizeClass = p.Field99;
    p.scoring.raceClass = p.Field97;
    return p;
}

// Both run for every past run of every runner: the texts are built in place.
QString pastRunOddsText(const QString& runOdds) {
    double value = 0.0;
    if (isAscii(runOdds)) {
        // The first four bytes, the decimal point and the last byte.
        char digits[6];
        qsizetype n = 0;
        for (; n < std::min<qsizetype>(4, runOdds.size()); ++n)
            digits[n] = static_cast<char>(runOdds[n].unicode());
        digits[n++] = '.';
        if (!runOdds.isEmpty())
            digits[n++] = static_cast<char>(runOdds.back().unicode());
        value = Val(QByteArrayView(digits, n));
    } else {
        value = Val(LeftBytes(runOdds, 4) + u'.' + RightBytes(runOdds, 1));
    }
    if (value == 0.0) {
        static const QString kNone(6, u' ');
        return kNone;
    }
    return NumberText(value).rightJustified(6, u' ', true);
}

namespace {

QString twoCharText(int value) {
    // The sign (a blank when there is none) and the digits: the last two characters of that.
    char text[24];
    text[0] = value < 0 ? '-' : ' ';
    const auto end = std::to_chars(text + 1, text + sizeof text, std::abs(static_cast<long long>(value))).ptr;
    return QString::fromLatin1(end - 2, 2);
}

}  // namespace

QString twoCharNumber(int value) {
    // Counts of runners, finishes and popularity: the texts of the usual ones are made once.
    constexpr int kLowest = -99;
    constexpr int kHighest = 99;
    static const std::array<QString, kHighest - kLowest + 1> kTexts = [] {
        std::array<QString, kHighest - kLowest + 1> texts;
        for (int v = kLowest; v <= kHighest; ++v)
            texts[static_cast<size_t>(v - kLowest)] = twoCharText(v);
        return texts;
    }();
    if (value < kLowest || value > kHighest)
        return twoCharText(value);
    return kTexts[static_cast<size_t>(value - kLowest)];
}

PredictionRecord WritePrediction(const PredictedRace& race, const RunnerArray& runners, const SelectionLists& lists,
                                 bool betSelection) {
    PredictionRecord rec;
    rec.raceDate = race.RaceDate;
    rec.venueCode = race.VenueCode;
    rec.meeting = race.Meeting;
    rec.dayNo = race.DayNo;
    rec.raceNo = race.RaceNo;
    rec.runnerCount = race.RunnerCount;
    for (size_t i = 0; i < runners.size(); ++i) {
        const RunnerWork& w = runners[i];
        PredictedRunner& out = rec.runners[i];
        out.horseCode = w.HorseCode;
        out.index = ToInt16(Int(static_cast<double>(w.Score * 0.5f)));
        out.rank = betSelection ? w.OddsRank : std::int16_t{0};
        out.courseRecord = w.CourseRecord;
        out.courseRecordTotal = w.CourseRecordTotal;
        out.otherRecord = w.OtherRecord;
        for (size_t j = 0; j < w.PastRuns.size(); ++j) {
            const PastRunWork& p = w.PastRuns[j];
            PredictedPastRun& o = out.pastRuns[j];
            o.venueCode = p.RunVenueCode;
            o.meeting = p.RunMeeting;
            o.day = p.RunDay;
            o.date = p.RunDate;
            o.raceNo = p.RunRaceNo;
            o.track = p.RunTrack;
            o.distance = p.RunDistance;
            o.fieldSize = twoCharNumber(p.FieldSize);
            o.finish = twoCharNumber(p.Finish);
            o.popularity = twoCharNumber(p.Popularity);
            o.figure = p.RunFigure;
            o.odds = pastRunOddsText(p.RunOdds);
        }
    }
    if (betSelection) {
        StorePicks(lists, race.RunnerCount, rec);
    }
    rec.startTime = race.StartTime;
    return rec;
}

namespace {

QString entryMissingText(const QString& code) {
    return QStringLiteral("馬コード「") + code + QStringLiteral("」の馬が出馬表出走馬ファイルにありません！") + QStringLiteral("\r\n") +
           QStringLiteral("出馬表ファイルが正しいにも関わらずこのメッセージが出ましたら作者までご連絡ください。");
}

QString horseMissingText(const QString& code) {
    return QStringLiteral("馬コード「") + code + QStringLiteral("」の馬データが競走馬ファイルにありません！") + QStringLiteral("\r\n") +
           QStringLiteral("競走馬ファイルが正しいにも関わらずこのメッセージが出ましたら作者までご連絡ください。");
}

}  // namespace

Result<PredictionRecord> PredictRace(const ImportedDay& day, int style, const OddsLookup& odds, const RaceRecord& race) {
    SelectionLists lists;
    PredictedRace p = predictedRaceOf(race);
    const int n = p.RunnerCount;
    // Each runner's record number in a file's index; a horse missing from it stops the day.
    QString stopMessage;
    auto locate = [&](const CodeIndex& index, auto& recNo, QString (*missingText)(const QString&)) {
        for (int i = 1; i <= n; ++i) {
            const QString& code = p.RunnerCodes[static_cast<size_t>(i - 1)];
            const int at = index.find(code);
            if (at == 0) {
                stopMessage = missingText(code);
                return false;
            }
            recNo[static_cast<size_t>(i - 1)] = static_cast<std::int16_t>(at);
        }
        return true;
    };
    if (!locate(day.entryIndex, p.EntryRecNo, entryMissingText) ||
        !locate(day.horseIndex, p.HorseRecNo, horseMissingText)) {
        return Status::failure(stopMessage);
    }
    RunnerArray runners;
    for (int i = 1; i <= n; ++i) {
        LoadRunnerFromEntry(runners, i, day.entries.recordView(p.EntryRecNo[static_cast<size_t>(i - 1)]));
    }
    for (int i = 1; i <= n; ++i) {
        LoadRunnerFromHorse(runners, i, day.horses.recordView(p.HorseRecNo[static_cast<size_t>(i - 1)]));
    }
    for (int i = std::max(n, 0) + 1; i <= kRunnerSlots; ++i) {
        LoadBlankRunner(runners, i);
    }
    const bool betSelection = ScoreRunners(p.scoring, runners, day.jockeys);
    if (betSelection) {
        SelectionRace sel;
        sel.runnerCount = n;
        sel.style = style;
        if (style == kStyleOddsFilter) {
            sel.odds = odds.find(p.VenueCode, p.RaceNo);
        }
        SelectBets(sel, runners, lists);
    }
    return WritePrediction(p, runners, lists, betSelection);
}

QString predictionCaption(const QString& yyyymmdd) {
    const int y = yyyymmdd.left(4).toInt();
    const int m = yyyymmdd.mid(4, 2).toInt();
    const int d = yyyymmdd.mid(6, 2).toInt();
    return QStringLiteral("ゼノゼノＭＵＲ ") + QString::number(y) + QStringLiteral("年") + QString::number(m) +
           QStringLiteral("月") + QString::number(d) + QStringLiteral("日") + QStringLiteral(" 開催分の予想状況");
}

namespace {

// The meeting table's race records in its order, 0 for one that is not predicted: a record
// number outside the race file stands for an empty record, whose date never matches.
std::vector<int> racesOfDay(const ImportedDay& imported, int venues) {
    std::vector<int> races;
    for (int v = 1; v <= venues; ++v) {
        const MeetingEntry& meeting = imported.meetings[static_cast<size_t>(v - 1)];
        for (int r = meeting.firstRace; r <= meeting.firstRace + meeting.raceCount - 1; ++r) {
            const bool ofDay = r >= 1 && r <= imported.races.count() &&
                               fromSjis(imported.races.get<RaceRecord>(r).raw(RaceRecord::raceDate)) == imported.date;
            races.push_back(ofDay ? r : 0);
        }
    }
    return races;
}

// Each race predicted and encoded on its own: the races share nothing but the day's files, so
// they are predicted on two cores at once (a second thread is not worth it for a few races).
std::vector<std::optional<Result<QByteArray>>> predictRaces(const ImportedDay& imported, const std::vector<int>& races,
                                                            int style, const OddsLookup& odds) {
    std::vector<std::optional<Result<QByteArray>>> encoded(races.size());
    forEachSideBySide(races.size(), races.size() >= 4, [&](std::size_t i) {
        if (races[i] == 0)
            return;
        const Result<PredictionRecord> predicted =
            PredictRace(imported, style, odds, imported.races.get<RaceRecord>(races[i]));
        encoded[i] = predicted ? Result<QByteArray>(encodePrediction(*predicted)) : Result<QByteArray>(predicted.status());
    });
    return encoded;
}

}  // namespace

Status PredictDay(AppContext& ctx, const ImportedDay& imported, FileSet& set) {
    const QString& day = imported.date;
    const QString target = predictionFilePath(ctx.paths.DataDir, day);
    ProgressSink& progress = ctx.progressSink();

    const int venues = std::min<int>(kMaxVenues, static_cast<int>(imported.meetings.size()));
    const std::vector<int> races = racesOfDay(imported, venues);
    progress.setCaption(predictionCaption(day));
    progress.setPercent(0);
    const float step = races.empty() ? 0.0f : 100.0f / static_cast<float>(races.size());
    float bar = 0.0f;

    const int style = ctx.settings.Yosou;
    OddsLookup odds;
    if (style == kStyleOddsFilter) {
        odds.load(imported.odds);
    }
    const std::vector<std::optional<Result<QByteArray>>> encoded = predictRaces(imported, races, style, odds);

    // The races are reported in the meeting table's order, each with the bar's step.
    QByteArray fileBytes;
    fileBytes.reserve(static_cast<qsizetype>(races.size()) * kPredictionRecordLength);
    // The label names the meeting of the race being predicted. The record numbers of the
    // meeting table count in the race file of the archive, while the day file is sorted by
    // venue: a block of records may hold another venue than its meeting entry says.
    QString shownLabel;
    int labelsShown = 0;
    for (size_t i = 0; i < races.size(); ++i) {
        bar += step;
        progress.setPercent(std::min(100.0f, bar));
        progress.idle();
        if (races[i] == 0)
            continue;
        const RaceRecord race = imported.races.get<RaceRecord>(races[i]);
        const QString label = FullWidthDigits(race.text(RaceRecord::kai).right(1)) + QStringLiteral("回【") +
                              VenueName(race.text(RaceRecord::venueCode)) + QStringLiteral("】") +
                              FullWidthDigits(race.text(RaceRecord::nichi).right(1)) + QStringLiteral("日目") +
                              QStringLiteral("を予想中……");
        if (label != shownLabel) {
            shownLabel = label;
            progress.setLabel(label, ++labelsShown);
        }
        // A runner missing from the entries or horse file stops the day: nothing of it changes.
        const Result<QByteArray>& predicted = *encoded[i];
        if (!predicted)
            return predicted.status();
        fileBytes.append(*predicted);
    }

    const QString name = QFileInfo(target).fileName();
    if (fileBytes.isEmpty()) {
        // Nothing of this date was predicted: no file, and no stale one either.
        set.drop(name);
        return {};
    }
    if (const Status written = set.put(name, fileBytes); !written)
        return Status::failure(QStringLiteral("予想ファイル「") + target + QStringLiteral("」を書き込めません。") +
                               QStringLiteral("\r\n") + written.message());
    return {};
}

}  // namespace zm
