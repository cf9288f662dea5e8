// The predicted-odds conversion of a whole sample day (three venues, 36 races) for each PAT
// generation, and the vote log of 1,024 bought bets with their hit judgement.

#include "app/context.h"
#include "app/safe_save.h"
#include "pat/odds_convert.h"
#include "pat/pat_format.h"
#include "pat/pat_log.h"
#include "quiet_prompter.h"
#include "sample/sample.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Home {
    QTemporaryDir dir;
    zm::SettingsStore store{dir.path() + QStringLiteral("/zenomur.ini")};
    zm::bench::QuietPrompter prompter;
    zm::AppContext ctx{zm::AppPaths::forHome(dir.path() + u'/'), store, prompter};
    Home() {
        zm::CreateFolders(ctx.paths);
        zm::LoadSettings(ctx.settings, store, ctx.paths);
    }
};

void BM_ConvertDay(benchmark::State& state) {
    Home home;
    const zm::sample::DayFiles day = zm::sample::makeDay(zm::sample::defaultDate(), 20261205);
    const QString file = home.ctx.paths.DataDir + QStringLiteral("MURODDS20261205.DAT");
    (void)zm::SafeSave::save(file, zm::sample::makeOddsFile(day.races, 20261205, day.horses));
    const QString out = home.dir.path() + QStringLiteral("/PAT/");
    QDir().mkpath(out);
    const zm::PatVer generations[] = {zm::PatVer::V98, zm::PatVer::V95, zm::PatVer::V31};
    const zm::PatFormat& format = *zm::patFormat(generations[state.range(0)]);
    int files = 0;
    for (auto _ : state) {
        zm::Notices notices;
        const auto run = zm::ConvertPredictedOdds(home.ctx, file, format, out, notices);
        files = static_cast<int>(run->written.size());
    }
    state.counters["files"] = files;
}
BENCHMARK(BM_ConvertDay)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_VoteLog1024(benchmark::State& state) {
    Home home;
    const QString pat = home.dir.path() + QStringLiteral("/PAT/");
    QDir().mkpath(pat);
    home.ctx.settings.PatDir = pat;
    home.ctx.settings.PatOpt = true;
    home.ctx.settings.Ver = QStringLiteral("98");
    const zm::sample::DayFiles day = zm::sample::makeDay(zm::sample::defaultDate(), 20261205);
    QStringList written;
    QString message;
    zm::sample::writePatSample(pat, day.races, zm::sample::defaultDate(), 20261205, false, written, message);
    (void)zm::BuildResults(home.ctx, *zm::patFormat(zm::PatVer::V98), QStringLiteral("20261205"));
    // 1,024 bought bets: 21 files of 50 entries (the last cut short), every race and type.
    QDir(pat).removeRecursively();
    QDir().mkpath(pat);
    for (int file = 0; file < 21; ++file) {
        zm::Lg95Record lg;
        lg.setText(zm::Lg95Record::year, u"2026");
        lg.setText(zm::Lg95Record::month, u"12");
        lg.setText(zm::Lg95Record::day, u"05");
        for (int e = 1; e <= 50 && file * 50 + e <= 1024; ++e) {
            const int n = file * 50 + e;
            auto at = [&](const zm::Field& f) { return f.shifted(zm::Lg95Record::entries.element(e).offset); };
            lg.setText(at(zm::Lg95Record::betType), QString::number(n % 5 + 1));
            lg.setText(at(zm::Lg95Record::venue), n % 2 ? u"05" : u"06");
            lg.setText(at(zm::Lg95Record::raceNo), QString::number(n % 12 + 1).rightJustified(2, u'0'));
            lg.setText(at(zm::Lg95Record::first), QString::number(n % 7 + 1).rightJustified(2));
            lg.setText(at(zm::Lg95Record::second), QString::number(n % 7 + 8).rightJustified(2));
            lg.setText(at(zm::Lg95Record::stake), u"0001");
            lg.setText(at(zm::Lg95Record::state), u"01");
        }
        (void)zm::SafeSave::save(pat + QStringLiteral("LG-%1.JRA").arg(file, 2, 10, QChar(u'0')), lg.bytes());
    }
    size_t rows = 0;
    for (auto _ : state) {
        const auto log = zm::ShowVoteLog(home.ctx, *zm::patFormat(zm::PatVer::V98), QStringLiteral("20261205"));
        rows = log->rows.size();
        benchmark::DoNotOptimize(zm::voteLogText(*log));
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_VoteLog1024)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
