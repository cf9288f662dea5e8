#pragma once

// The automatic-voting schedule BetOutDir + yyyymmdd + ".lst", built from the day's pending-bet
// file and the options of section "VoteRoboSetting". Every line starts with a group digit, a
// blank and a time hh:mm:ss; docs/voterobo-schedule.md shows the layout of every line with an
// example schedule.

#include "app/context.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace zm {

inline const QString kVoteRoboTitle = QStringLiteral("「VoteRobo」ファイルの出力");
inline const QString kVoteRoboNoRaceFile = QStringLiteral(
    "出馬表が見つかりません。一度「ゼノゼノＭＵＲ」の［解凍・予想］を行うと出馬表が生成されます。\r\n\r\n"
    "［VoteRoboの出力設定］をOFFにすれば一括出力します。この処理を一旦中止します。");

// The dialog's options, as the option groups show them.
struct VoteRoboOptions {
    bool group = false;                        // 場別にグループ分けをする
    int groupSet = 0;                          // ｸﾞﾙｰﾌﾟ分け指定: 0 = 1·2·3, 1 = 4·5·6, 2 = 7·8·9
    QString groupOut;                          // the group digit when not grouping by venue
    int voteTime = 2;                          // 0 all at 07:00, 1 race by race, 2 all at 09:00
    QString T_Time = QStringLiteral("09:00");  // the all-at-once time as loaded
    bool odds = false;                         // オッズを取得する
    int oddsTiming = 0;     // 0 morning, all races; 1 morning, bought races; 2 before each bought race; -1 none
    int oddsKind = 0;       // 0 オッズ, 1 Odds：単複枠, 2 Odds：馬／ワ
    bool weights = false;   // 購入レース毎に馬体重を取得
    bool results = false;   // レース結果を取得する
    int resultsTiming = 0;  // 0 after the last race, 1 race by race with hit judgement
};

// The options from the loaded settings, and back into the settings record and the store.
VoteRoboOptions VoteRoboOptionsOf(const AppSettings& settings);
Status StoreVoteRoboOptions(SettingsStore& store, AppSettings& settings, const VoteRoboOptions& options);

// BetOutDir + day + ".lst".
QString VoteRoboSchedulePath(const AppSettings& settings, const QString& day);

// A bet's combination in the schedule's form: win and place the number left-aligned in five,
// bracket " 1- 8", quinella and wide " 5-12".
QString VoteRoboCombination(const QString& combination, const QString& betType);

// The bets of the pending-bet file as the schedule lays them out: type word padded to six
// bytes, combination in the schedule's form, amounts as plain digits.
PendingBetTable VoteRoboBets(const PendingBetTable& bets);

// The post times of the day's races, keyed by venue name + race ("東京 11R").
using RaceTimes = QHash<QString, QString>;
std::optional<RaceTimes> ReadRaceTimes(const QString& dataDir, const QString& day);

// The schedule's lines for the bets (group digits and race times filled by the builder).
QStringList VoteRoboScheduleLines(PendingBetTable bets, const VoteRoboOptions& options, const RaceTimes& times);

// The output button: checks, the overwrite question, the file, the delete question. Done also
// when the overwrite question is cancelled.
Status WriteVoteRoboSchedule(AppContext& ctx, const QString& day, const VoteRoboOptions& options);

}  // namespace zm
