#pragma once

// The service contest text of a predicted day ("MUR" + yyyymmdd + ".TXT" in the output folder):
// a post a person can read and paste, which readMurContestText reads back. A few title lines,
// then per race an entry header
//
//     ■ 中山 11Ｒ 20261205 [A917] 発走15:25 16頭立
//
// (venue at characters 3-4, race number at 6-7, "Ｒ" at 8, the day at 10-17, the software code
// at 20-23) followed by one line per bet: "単勝" and the first win pick, "馬連" and each pair pick,
// each with its stake. A race with more than six pair picks continues under a second header of
// the same race. The stakes are the default stakes of the settings; the day's total is checked
// against the contest's points budget (setting "File" / "MurBudget", yen, default 50000).

#include "codes/status.h"
#include "export/export_text.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zm {

struct AppContext;
struct ImportedDay;
class FileSet;

inline const QString kMurSoftCode = QStringLiteral("A917");
inline const QString kMurBudgetKey = QStringLiteral("MurBudget");
constexpr int kMurDefaultBudget = 50000;

struct MurContestInput {
    QString day;      // yyyymmdd
    int style = 0;    // the prediction style the picks were made in
    int winStake = 100;
    int pairStake = 100;
    int budget = kMurDefaultBudget;
};

struct MurContestText {
    QStringList lines;
    int total = 0;  // yen staked over the day
};

// The entry header of a race (at least 31 characters).
QString murRaceHeader(const PredictionRecord& rec, bool continued);

// The whole text of the day.
MurContestText murContestText(const std::vector<PredictionRecord>& records, const MurContestInput& input);

// "【MURコンテスト版】の投票金額が …００円で … 持ち点の …００円をオーバーしました！"
QString murOverBudgetMessage(int total, int budget);

// The budget of the settings in yen: whole hundreds, the default when missing or below 100.
int murBudgetOf(const QString& stored);

// Writes the day's contest text; over the budget the file carries the message to show once written.
ExportFile MurContestTextFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set = nullptr);

}  // namespace zm
