#include "cli/cli.h"

namespace zm::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"settings", "list | get SECTION KEY | set SECTION KEY VALUE", "read and write the settings store",
         cmdSettings},
        {"delete-days", "DAY... | --all", "delete predicted days (yyyymmdd) with their day files and exports",
         cmdDeleteDays},
        {"import", "ARCHIVE", "import and predict one race-card archive", cmdImport},
        {"batch", "", "import every hb??????.lzh archive of the MurData folder", cmdBatch},
        {"split", "ARCHIVE", "write the second day of a two-day archive as B + yymmdd + .LZH", cmdSplit},
        {"odds-import", "ARCHIVE", "import a predicted-odds archive into the data folder", cmdOddsImport},
        {"days", "", "list the predicted days, newest first", cmdDays},
        {"card", "DAY | DAY VENUE RACE", "the day's race list, or one race card with its prediction", cmdCard},
        {"detail", "DAY", "write the day's detail text file into the output folder", cmdDetail},
        {"dummy-day", "DATE", "make a dummy race day (date as typed in the date dialog, e.g. 2001/9/3)", cmdDummyDay},
        {"bets",
         "--day yyyymmdd add VENUE RACE [--picks] [--win H[:STAKE]]... [--place H[:STAKE]]... "
         "[--bracket AB[:STAKE]]... [--quinella A-B[:STAKE]]... | show | totals | sort | dedupe | merge | odds | "
         "prune [--type TYPE --min N --max N]... [--no-odds one|skip] | sakutto | tekichukai-out [--wide] "
         "(--file | --stdout) | tekichukai-in FILE [--fixed TYPE:AMOUNT]... | voterobo",
         "the day's pending bets: add from a race, show, totals, sort, remove or merge duplicates, import PAT "
         "odds, delete by odds range, write the purchase files, post to or read posts of 的中会, write the "
         "voting schedule",
         cmdBets},
        {"convert-odds", "--pat 98|95|31 [--to DIR] ARCHIVE",
         "unpack a predicted-odds archive and write its day as PAT odds files", cmdConvertOdds},
        {"pat", "[--day yyyymmdd] stake | --day yyyymmdd results | log [--export FILE] | odds VENUE RACE",
         "PAT's day stake, the race results, the vote log with its profit and loss, the odds of a race",
         cmdPat},
        {"backtest", "[--from yyyymmdd] [--to yyyymmdd] [--style N]... [--csv FILE] [--sjis]",
         "every prediction style's bets of the predicted days judged against the results, and the pending bets",
         cmdBacktest},
    };
    return table;
}

}  // namespace zm::cli
