#include "card/detail_file.h"

#include "app/safe_save.h"
#include "card/cardday.h"
#include "card/predicted_odds.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/race_model.h"
#include "pat/odds_read.h"
#include "pat/odds_view.h"
#include "pat/pat_format.h"
#include "predict/selection.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <memory>

namespace zm {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kEquals = QString(76, u'=');
const QString kDashes = QString(76, u'-');

QString raceKey(const QString& venueCode, int raceNo) {
    return venueCode + u'/' + QString::number(raceNo);
}

// The mark column: the rank's mark for ranks 1-5, else two blanks.
QString markColumn(int rank) {
    return rank >= 1 && rank <= 5 ? MarkOf(rank) : u"  "_s;
}

// The predicted odds as a win-odds text of five characters.
QString predictedWinText(QStringView field) {
    const QString t = PredictedOddsText(field);
    if (t.isEmpty())
        return t;
    if (t == u"取消")
        return u"ﾄﾘｹｼ"_s.rightJustified(5);
    if (t == u"範囲外")
        return u"999.9"_s;
    return t.rightJustified(5);
}

}  // namespace

RaceOddsSource predictedOddsSource(const QString& dataDir, const QString& day) {
    struct Day {
        std::optional<RecordFile> file;
        QHash<QString, int> records;  // race -> first record of the day
    };
    auto d = std::make_shared<Day>();
    const QString path = predictedOddsPath(dataDir, day);
    if (QFileInfo::exists(path))
        d->file = RecordFile::load(path, OddsRecord::kLength);
    if (d->file) {
        for (int k = 1; k <= d->file->count(); ++k) {
            const OddsRecord r = d->file->get<OddsRecord>(k);
            if (r.text(OddsRecord::raceDate) != day)
                continue;
            const QString key = raceKey(r.text(OddsRecord::venueCode), ToInt16(r.number(OddsRecord::raceNo)));
            if (!d->records.contains(key))
                d->records.insert(key, k);
        }
    }
    return [d](const PredictionRecord& p, const RaceRecord&) {
        RaceOddsTexts odds;
        const auto it = d->records.constFind(raceKey(p.venueCode, p.raceNo));
        if (it == d->records.cend())
            return odds;
        const OddsRecord r = d->file->get<OddsRecord>(*it);
        for (int h = 1; h <= 18; ++h)
            odds.win[static_cast<size_t>(h - 1)] = predictedWinText(r.text(OddsRecord::winOdds, h));
        return odds;
    };
}

RaceOddsSource currentOddsSource(AppContext& ctx, const QString& day) {
    const PatFormat* format = ctx.settings.PatOpt ? patFormatOf(ctx.settings.Ver) : nullptr;
    if (!format)
        return predictedOddsSource(ctx.paths.DataDir, day);
    // PAT's own files of each race, as the race card shows them.
    return [&ctx, format, day](const PredictionRecord& p, const RaceRecord&) {
        const PatRaceRef race{p.venueCode, QString::number(p.raceNo), FindNichi(ctx, day, p.venueCode), day};
        const WinPlaceOdds live = ReadWinPlaceOdds(ctx.settings.PatDir, format, race);
        RaceOddsTexts odds;
        odds.win = live.win;
        odds.place = live.place;
        return odds;
    };
}

QString detailFilePath(const AppSettings& settings, const QString& day) {
    return settings.OutPutDir + u"詳細"_s + day + u".TXT"_s;
}

OutputTextFiles ListOutputTextFiles(const QString& outputDir) {
    const QDir dir(outputDir);
    auto list = [&dir](const QString& pattern) {
        return dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    };
    return {list(u"詳細*.TXT"_s), list(u"W*.TXT"_s), list(u"MUR*.TXT"_s)};
}

QStringList DetailRunnerLines(const PredictionRecord& p, const RecordFile& entries, const RaceOddsTexts& odds) {
    // The first record of each horse code, as a scan from record 1 finds it.
    QHash<QByteArray, int> firstOf;
    for (int n = entries.count(); n >= 1; --n) {
        const QByteArrayView bytes = entries.recordView(n);
        firstOf.insert(bytes.sliced(EntryRecord::horseCode.offset, EntryRecord::horseCode.width).toByteArray(), n);
    }
    QStringList lines;
    const int runners = std::clamp<int>(p.runnerCount, 0, kPredictionRunners);
    for (int i = 1; i <= runners; ++i) {
        const PredictedRunner& r = p.runners[static_cast<size_t>(i - 1)];
        const auto found = firstOf.constFind(padSjis(r.horseCode, EntryRecord::horseCode.width));
        if (found == firstOf.cend())
            continue;
        const EntryRecord e = entries.get<EntryRecord>(*found);
        const int number = static_cast<int>(Val(e.text(EntryRecord::umaban)));
        const QString win = number >= 1 && number <= 18 ? odds.win[static_cast<size_t>(number - 1)] : QString();
        const QString place = number >= 1 && number <= 18 ? odds.place[static_cast<size_t>(number - 1)] : QString();
        QString line = markColumn(r.rank);
        line += u'[' + e.text(EntryRecord::waku) + u"] "_s;
        line += QString::number(number).rightJustified(2).right(2) + u' ';
        line += e.text(EntryRecord::cardMark) == u"1" ? u"B"_s : u" "_s;
        line += PadBytes(e.trimmed(EntryRecord::horseName), 20) + u' ';
        line += SexName(e.text(EntryRecord::sex));
        line += e.text(EntryRecord::weight).left(2) + u"kg  "_s;
        line += PadBytes(e.trimmed(EntryRecord::jockeyShort), 6) + u' ';
        line += PadBytes(e.trimmed(EntryRecord::trainerShort), 6) + u"  "_s;
        line += QString::number(r.index).rightJustified(3).right(3);
        line += u" ["_s + (win.isEmpty() ? QString(5, u' ') : win) + u"]("_s +
                (place.isEmpty() ? QString(9, u' ') : place) + u')';
        lines << line;
    }
    return lines;
}

Status WriteDetailFile(AppContext& ctx, const QString& day, const RaceOddsSource& source) {
    const QString dataDir = ctx.paths.DataDir;
    const auto predictions = readPredictionFile(predictionFilePath(dataDir, day));
    const auto races = RecordFile::load(dataDir + u"MUR"_s + day + u"_1.DEN"_s, RaceRecord::kLength);
    if (!predictions || !races)
        return Status::warning(kDetailNoPrediction);
    const auto entries = RecordFile::load(dataDir + u"MUR"_s + day + u"_2.DEN"_s, EntryRecord::kLength);
    if (!entries)
        return Status::warning(kDetailNoEntries);
    const RaceOddsSource odds = source ? source : currentOddsSource(ctx, day);

    // The first race record of each venue and race number, as a scan from record 1 finds it.
    QHash<QString, int> raceOf;
    for (int n = races->count(); n >= 1; --n) {
        const RaceRecord r = races->get<RaceRecord>(n);
        raceOf.insert(raceKey(r.text(RaceRecord::venueCode), static_cast<int>(Val(r.text(RaceRecord::raceNo)))), n);
    }

    QString text;
    auto put = [&text](const QString& line) { text += line + u"\r\n"_s; };
    for (const PredictionRecord& p : *predictions) {
        if (p.winPicks[0].code == 0 && p.smallPicks[0].code == 0 && p.quinellaPicks[0].code == 0)
            continue;
        const auto found = raceOf.constFind(raceKey(p.venueCode, p.raceNo));
        if (found == raceOf.cend())
            continue;
        const RaceRecord race = races->get<RaceRecord>(*found);
        const RaceCard card = BuildRaceCard(p, race, nullptr);
        put(kEquals);
        put(card.raceLine);
        put(kDashes);
        put(card.titleLine);
        for (const QString& line : DetailRunnerLines(p, *entries, odds(p, race)))
            put(line);
        put(kDashes);
        put(card.recommendWin);
        put(card.recommendPairs);
        put(kEquals);
    }
    return SafeSave::save(detailFilePath(ctx.settings, day), toSjis(text));
}

}  // namespace zm
