#include "card/cardday.h"

#include "app/day_list.h"
#include "app/file_names.h"
#include "card/cardtext.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "predict/selection.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace zm {

using namespace Qt::Literals::StringLiterals;

namespace {

// The day's files as they are found, names compared ignoring case; empty when missing.
QString raceFilePath(const QString& dataDir, const QString& day) {
    return findFileNoCase(dataDir, u"MUR"_s + day + u"_1.DEN"_s);
}

QString entryFilePath(const QString& dataDir, const QString& day) {
    return findFileNoCase(dataDir, u"MUR"_s + day + u"_2.DEN"_s);
}

QString predictionPath(const QString& dataDir, const QString& day) {
    return findFileNoCase(dataDir, day + u".DAT"_s);
}

// Course-record group k of a runner as one array.
std::array<std::int16_t, 4> group(const PredictedRunner& r, int k) {
    return r.courseRecord[static_cast<size_t>(k)];
}

// The race record of a predicted race: same venue, race number and date.
std::optional<RaceRecord> findRace(const RecordFile& races, const PredictionRecord& p) {
    for (int n = 1; n <= races.count(); ++n) {
        const RaceRecord r = races.get<RaceRecord>(n);
        if (r.text(RaceRecord::venueCode) == p.venueCode && ToInt16(r.number(RaceRecord::raceNo)) == p.raceNo &&
            r.dateText() == p.raceDate) {
            return r;
        }
    }
    return std::nullopt;
}

RaceListPieces listPieces(const PredictionRecord& p, const RaceRecord& r) {
    RaceListPieces pieces;
    pieces.venueCode = p.venueCode;
    pieces.raceNo = p.raceNo;
    pieces.raceClass = r.text(RaceRecord::raceClass);
    pieces.prizeClass = ToInt16(r.number(RaceRecord::prizeClass));
    pieces.courseLayout = r.text(RaceRecord::courseLayout);
    pieces.distance = r.text(RaceRecord::distance);
    pieces.runnerCount = p.runnerCount;
    pieces.paceCode = r.text(RaceRecord::paceCode);
    pieces.postTime = r.text(RaceRecord::postTime);
    return pieces;
}

// Race-record fields the card header reads beyond the named ones.
constexpr DigitsField kEdition{"edition", 25, 3};
constexpr Field kRaceName{"raceName", 28, 30};
constexpr Field kGrade{"grade", 72, 1};
constexpr Field kCondition1{"condition1", 93, 2};
constexpr Field kCondition2{"condition2", 95, 2};
// The trainer's affiliation, one full-width character after the trainer's short name.
constexpr Field kAffiliation{"affiliation", 251, 2};

// The entry record of runner `horseCode` in this race; a record of another race with the same
// horse only when the race itself has none.
std::optional<EntryRecord> findEntry(const RecordFile& entries, const RaceRecord& race, const QString& horseCode) {
    const QByteArray code = padSjis(horseCode, EntryRecord::horseCode.width);
    const QByteArrayView key = race.raw(RaceKeyFields::raceKey);
    const Field keyField = RaceKeyFields::raceKey;
    int other = 0;
    for (int n = 1; n <= entries.count(); ++n) {
        const QByteArrayView bytes = entries.recordView(n);
        if (bytes.sliced(EntryRecord::horseCode.offset, EntryRecord::horseCode.width) != code) {
            continue;
        }
        if (bytes.sliced(keyField.offset, keyField.width) == key) {
            return EntryRecord(bytes);
        }
        if (other == 0) {
            other = n;
        }
    }
    if (other == 0) {
        return std::nullopt;
    }
    return entries.get<EntryRecord>(other);
}

bool smallField(const PredictionRecord& p) {
    return p.runnerCount >= 1 && p.runnerCount <= 8;
}

}  // namespace

CardViewState nextCardView(CardViewState state) {
    switch (state) {
    case CardViewState::PastFigures:
        return CardViewState::CourseRecords;
    case CardViewState::CourseRecords:
        return CardViewState::PastFiguresAndOdds;
    case CardViewState::PastFiguresAndOdds:
        break;
    }
    return CardViewState::PastFigures;
}

QStringList LoadDayList(const QString& dataDir) { return ListPredictedDays(dataDir); }

bool IsDummyDay(const QString& dataDir, const QString& day) {
    const QString racePath = raceFilePath(dataDir, day);
    if (racePath.isEmpty() || !entryFilePath(dataDir, day).isEmpty())
        return false;
    const auto races = RecordFile::load(racePath, RaceRecord::kLength);
    if (!races || races->count() == 0)
        return false;
    for (int n = 1; n <= races->count(); ++n) {
        if (races->get<RaceRecord>(n).text(RaceRecord::venueCode) != u"00")
            return false;
    }
    return true;
}

DayLoad LoadDay(const QString& dataDir, const QString& day, DayCard& out) {
    const QString racePath = raceFilePath(dataDir, day);
    const QString entryPath = entryFilePath(dataDir, day);
    if (racePath.isEmpty() || entryPath.isEmpty()) {
        // A FIFO or a folder at a day file's name is damage, not a missing day.
        for (const QString& name : {u"MUR"_s + day + u"_1.DEN"_s, u"MUR"_s + day + u"_2.DEN"_s}) {
            if (QFileInfo::exists(dataDir + name) && !isRegularFile(dataDir + name)) {
                out.problem = notRegularFileMessage(dataDir + name);
                return DayLoad::Damaged;
            }
        }
        return DayLoad::FilesMissing;
    }
    auto damaged = [&](const QString& path, const QString& what) {
        out.problem = u"ファイル「"_s + QDir::toNativeSeparators(path) + u"」が壊れています（"_s + what + u"）。"_s;
        return DayLoad::Damaged;
    };
    DayCard card;
    card.day = day;
    const auto races = RecordFile::load(racePath, RaceRecord::kLength);
    const auto entries = RecordFile::load(entryPath, EntryRecord::kLength);
    if (!races || races->count() == 0)
        return damaged(racePath, u"レースがありません"_s);
    if (!entries || entries->count() == 0)
        return damaged(entryPath, u"出走馬がありません"_s);
    const QString predictionFile = predictionPath(dataDir, day);
    if (predictionFile.isEmpty() && QFileInfo::exists(dataDir + day + u".DAT"_s)) {
        out.problem = notRegularFileMessage(dataDir + day + u".DAT"_s);
        return DayLoad::Damaged;
    }
    if (!predictionFile.isEmpty()) {
        // The program writes whole records only: anything else was cut.
        const qint64 size = QFileInfo(predictionFile).size();
        if (size == 0)
            return damaged(predictionFile, u"予想がありません"_s);
        if (size % kPredictionRecordLength != 0)
            return damaged(predictionFile, u"途中で切れています"_s);
    }
    const auto predictions = predictionFile.isEmpty() ? std::nullopt : readPredictionFile(predictionFile);
    if (!predictions) {
        out = card;
        return DayLoad::Ok;
    }
    QStringList meetings;  // meeting keys in the order met
    for (size_t i = 0; i < predictions->size(); ++i) {
        const PredictionRecord& p = (*predictions)[i];
        if (p.raceDate != day) {
            continue;
        }
        const QString meeting = p.venueCode + u'/' + QString::number(p.meeting) + u'/' + QString::number(p.dayNo);
        int frame = static_cast<int>(meetings.indexOf(meeting));
        if (frame < 0) {
            meetings << meeting;
            frame = static_cast<int>(meetings.size()) - 1;
            if (frame < 3) {
                VenueFrame& f = card.frames[static_cast<size_t>(frame)];
                f.venueCode = p.venueCode;
                f.caption = FrameCaption(p.meeting, p.venueCode, p.dayNo);
            }
        }
        if (frame >= 3 || p.raceNo < 1 || p.raceNo > 12) {
            continue;
        }
        RaceRow& row = card.frames[static_cast<size_t>(frame)].rows[static_cast<size_t>(p.raceNo - 1)];
        if (row.predictionRecord != 0) {
            continue;  // the first record of a race number wins
        }
        const auto race = findRace(*races, p);
        if (!race) {
            continue;
        }
        row.text = RaceListLine(listPieces(p, *race));
        row.predictionRecord = static_cast<int>(i) + 1;
    }
    card.venueCount = static_cast<int>(meetings.size());
    out = card;
    return DayLoad::Ok;
}

RaceCard BuildRaceCard(const PredictionRecord& p, const RaceRecord& race, const RecordFile* entries) {
    RaceCard c;
    c.day = p.raceDate;
    c.venueCode = p.venueCode;
    c.raceNo = p.raceNo;
    c.runnerCount = std::clamp<int>(p.runnerCount, 0, kPredictionRunners);
    c.raceLine = RaceListLine(listPieces(p, race));

    TitlePieces title;
    title.raceName = race.text(kRaceName);
    title.edition = static_cast<int>(Int(race.number(kEdition)));
    title.gradeCode = race.text(kGrade);
    title.raceClass = race.text(RaceRecord::raceClass);
    title.prizeClass = ToInt16(race.number(RaceRecord::prizeClass));
    c.titleLine = TitleLine(title);
    c.courseLine = CourseLine(race.text(RaceRecord::distance), race.text(RaceRecord::courseLayout), p.runnerCount,
                              race.text(RaceRecord::paceCode));
    c.conditions = ConditionsText(race.text(kCondition1), race.text(kCondition2));
    const Recommendation recommendation = RecommendationText(p);
    c.recommendWin = recommendation.win;
    c.recommendPairs = recommendation.quinella;

    c.recommendations[0] = WinPickText(p.winPicks[0].code);
    const bool small = smallField(p);
    const auto& picks = small ? p.smallPicks : p.quinellaPicks;
    for (size_t k = 0; k < picks.size(); ++k) {
        c.recommendations[k + 1] = PairPickText(picks[k].code, small);
    }

    for (int i = 1; i <= c.runnerCount; ++i) {
        const PredictedRunner& r = p.runners[static_cast<size_t>(i - 1)];
        const RunnerSlot slot = race.runner(i);
        CardRow row;
        QString waku = slot.trimmed(RunnerSlot::waku);
        QString umaban = slot.trimmed(RunnerSlot::umaban);
        if (entries) {
            if (const auto e = findEntry(*entries, race, r.horseCode)) {
                waku = e->trimmed(EntryRecord::waku);
                umaban = e->trimmed(EntryRecord::umaban);
                row.horseName = e->trimmed(EntryRecord::horseName);
                if (e->text(EntryRecord::cardMark) == u"1") {
                    row.horseName = u"B "_s + row.horseName;
                }
                row.sexAge = SexAgeText(e->text(EntryRecord::sex), e->text(EntryRecord::age));
                row.weight = WeightText(e->text(EntryRecord::weight));
                row.jockey = e->trimmed(EntryRecord::jockeyShort);
                row.trainer = e->trimmed(EntryRecord::trainerShort);
                row.affiliation = AffiliationText(e->text(kAffiliation));
            }
        }
        row.waku = static_cast<int>(Val(waku));
        row.wakuText = row.waku > 0 ? QString::number(row.waku) : QString();
        const int number = static_cast<int>(Val(umaban));
        row.umaban = number > 0 ? QString::number(number) : QString();
        row.mark = MarkOf(r.rank);
        row.rank = r.rank > 0 ? QString::number(r.rank) : QString();
        row.index = QString::number(r.index);
        for (size_t j = 0; j < 5; ++j) {
            const PredictedPastRun& run = r.pastRuns[j];
            const bool exists = Val(run.date) != 0;
            row.pastFigures[j] = exists ? QString::number(run.figure) : QString();
            row.pastOdds[j] = exists ? PastOddsText(run.odds) : QString();
        }
        for (int k = 0; k < 4; ++k) {
            row.courseRecords[static_cast<size_t>(k)] = CourseRecordText(group(r, k));
            row.courseRates[static_cast<size_t>(k)] = CourseRateText(group(r, k));
        }
        c.rows.push_back(row);
    }
    std::stable_sort(c.rows.begin(), c.rows.end(), [](const CardRow& a, const CardRow& b) {
        return Val(a.umaban) < Val(b.umaban);
    });
    return c;
}

std::optional<RaceCard> LoadRace(const QString& dataDir, const DayCard& day, int frame, int row) {
    if (frame < 1 || frame > 3 || row < 1 || row > 12) {
        return std::nullopt;
    }
    const RaceRow& r = day.frames[static_cast<size_t>(frame - 1)].rows[static_cast<size_t>(row - 1)];
    if (r.predictionRecord == 0) {
        return std::nullopt;
    }
    const auto p = readPredictionRecord(predictionPath(dataDir, day.day), r.predictionRecord);
    const auto races = RecordFile::load(raceFilePath(dataDir, day.day), RaceRecord::kLength);
    if (!p || !races) {
        return std::nullopt;
    }
    const auto race = findRace(*races, *p);
    if (!race) {
        return std::nullopt;
    }
    const auto entries = RecordFile::load(entryFilePath(dataDir, day.day), EntryRecord::kLength);
    return BuildRaceCard(*p, *race, entries ? &*entries : nullptr);
}

QStringList gridHeadings(bool placeOddsMode) {
    return {u"枠"_s,       u"馬"_s,       u" 馬   名"_s, u"性齢"_s,     u"斤量"_s,
            u"騎手"_s,     u"厩舎"_s,     u"属"_s,       u"ｵｯｽﾞ"_s,     u"印"_s,
            u"順"_s,       u"能力"_s,     u"前走"_s,     u"２走前"_s,   u"３走前"_s,
            u"４走前"_s,   u"５走前"_s,   u"芝右成績"_s, u"率"_s,       u"芝左成績"_s,
            u"率"_s,       u"ダ右成績"_s, u"率"_s,       u"ダ左成績"_s, u"率"_s,
            placeOddsMode ? u"複勝オッズ"_s : u"馬体重"_s,
            u"前走ODS"_s,  u"２前ODS"_s,  u"３前ODS"_s,  u"４前ODS"_s,  u"５前ODS"_s};
}

QStringList gridCells(const CardRow& row, bool placeOddsMode) {
    QStringList cells{row.wakuText, row.umaban, row.horseName, row.sexAge, row.weight, row.jockey,
                      row.trainer,  row.affiliation, row.winOdds, row.mark, row.rank, row.index};
    for (const QString& f : row.pastFigures) {
        cells << f;
    }
    for (size_t k = 0; k < 4; ++k) {
        cells << row.courseRecords[k] << row.courseRates[k];
    }
    cells << (placeOddsMode ? row.placeOdds : row.bodyWeight);
    for (const QString& o : row.pastOdds) {
        cells << o;
    }
    return cells;
}

std::vector<bool> visibleColumns(CardViewState state) {
    std::vector<bool> shown(ColumnCount, true);
    const bool figures = state != CardViewState::CourseRecords;
    for (int j = 0; j < 5; ++j) {
        shown[ColPastFigure1 + j] = figures;
        shown[ColPastOdds1 + j] = state == CardViewState::PastFiguresAndOdds;
    }
    for (int k = 0; k < 8; ++k) {
        shown[ColCourseRecord1 + k] = state == CardViewState::CourseRecords;
    }
    return shown;
}

}  // namespace zm
