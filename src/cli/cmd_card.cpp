#include "analysis/race_ev.h"
#include "card/cardday.h"
#include "card/cardtext.h"
#include "cli/cli.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// Every column of the grid, each padded to its widest cell (CP932 bytes); with ev, the chance
// and the expected value of each runner after them, a value above 1.0 marked with '*'.
void printGrid(QTextStream& out, const zm::RaceCard& race, const std::vector<zm::RunnerEv>* ev) {
    std::vector<QStringList> lines;
    lines.push_back(zm::gridHeadings(true));
    if (ev)
        lines.back() << zm::kChanceHeading << zm::kEvHeading;
    for (size_t r = 0; r < race.rows.size(); ++r) {
        lines.push_back(zm::gridCells(race.rows[r], true));
        if (ev) {
            const zm::RunnerEv& runner = (*ev)[r];
            lines.back() << zm::chanceText(runner) << zm::evText(runner) + (runner.marked() ? u"*"_s : QString());
        }
    }
    const int columns = static_cast<int>(lines.front().size());
    std::vector<int> widths(static_cast<size_t>(columns), 0);
    for (const QStringList& l : lines) {
        for (int c = 0; c < columns; ++c) {
            widths[static_cast<size_t>(c)] = std::max(widths[static_cast<size_t>(c)], ByteLength(l[c]));
        }
    }
    for (const QStringList& l : lines) {
        QString text;
        for (int c = 0; c < columns; ++c) {
            if (c > 0) {
                text += u' ';
            }
            text += PadBytes(l[c], widths[static_cast<size_t>(c)]);
        }
        out << text.trimmed() << u'\n';
    }
}

// The runners of the race weighed by the stored win model; none, after one line that says why,
// without a usable model.
std::vector<zm::RunnerEv> weighRunners(CliEnv& env, const zm::RaceCard& race) {
    zm::CardModelCache models;
    const zm::CardModel& model = models.current(env.ctx.paths);
    if (!model.model) {
        env.out << zm::kChanceHeading << u'・' << zm::kEvHeading << u": "_s << model.problem << u'\n';
        return {};
    }
    return zm::raceEv(*model.model, race, zm::dayPredictedWinOdds(env.ctx.paths.DataDir, race.day, race.venueCode, race.raceNo));
}

void printRace(CliEnv& env, const zm::RaceCard& race, bool withEv) {
    env.out << race.raceLine << u'\n' << race.titleLine << u'\n' << race.courseLine << u'\n';
    if (!race.conditions.isEmpty()) {
        env.out << race.conditions << u'\n';
    }
    env.out << u'\n';
    const std::vector<zm::RunnerEv> ev = withEv ? weighRunners(env, race) : std::vector<zm::RunnerEv>{};
    printGrid(env.out, race, ev.empty() ? nullptr : &ev);
    env.out << u'\n' << race.recommendWin << u'\n' << race.recommendPairs << u'\n';
}

}  // namespace

int cmdCard(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const auto dayArg = DayArgument(args[0]);
    if (args.size() == 2 || !dayArg) {
        return usageError(env, u"card DAY | card DAY VENUE RACE   (DAY as yyyymmdd, VENUE as 東京)"_s);
    }
    const QString day = *dayArg;
    QString venue;
    int raceNo = 0;
    if (args.size() == 3) {
        venue = VenueArgument(args[1]).value_or(QString());
        bool numberOk = false;
        raceNo = args[2].toInt(&numberOk);
        if (venue.isEmpty() || !numberOk || raceNo < 1 || raceNo > 12)
            return usageError(env, u"card DAY VENUE RACE   (VENUE a course name such as 東京, RACE 1-12)"_s);
    }
    zm::DayCard loaded;
    switch (zm::LoadDay(env.ctx.paths.DataDir, day, loaded)) {
    case zm::DayLoad::Ok:
        break;
    case zm::DayLoad::FilesMissing:
        env.ctx.prompter.warning(zm::kDayFilesMissing);
        return kExitStopped;
    case zm::DayLoad::Damaged:
        env.ctx.prompter.critical(loaded.problem);
        return kExitStopped;
    }
    if (args.size() == 1) {
        bool first = true;
        for (const zm::VenueFrame& frame : loaded.frames) {
            if (!frame.visible()) {
                continue;
            }
            if (!first) {
                env.out << u'\n';
            }
            first = false;
            env.out << frame.caption << u'\n';
            for (const zm::RaceRow& row : frame.rows) {
                if (row.predictionRecord != 0) {
                    env.out << row.text << u'\n';
                }
            }
        }
        env.out.flush();
        return kExitOk;
    }

    int frame = 0;
    for (int k = 0; k < 3; ++k) {
        if (loaded.frames[static_cast<size_t>(k)].venueCode == venue) {
            frame = k + 1;
        }
    }
    const auto race = frame ? zm::LoadRace(env.ctx.paths.DataDir, loaded, frame, raceNo) : std::nullopt;
    if (!race) {
        env.err << day << u' ' << VenueName(venue) << u' ' << raceNo << u"R: このレースの予想はありません。"_s
                << Qt::endl;
        return kExitStopped;
    }
    printRace(env, *race, call.args.isSet(u"ev"_s));
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
