#pragma once

// Purchase files for the purchase program: the day's pending bets cut into files of 50 bets,
// BetOutDir + yyyymmdd + "_1.BET" .. "_9.BET" (the ninth takes every bet from 401 on).

#include "app/context.h"
#include "bets/maintenance.h"

#include <QString>
#include <QStringList>

namespace zm {

inline const QString kPurchaseTitle = QStringLiteral("「サクッとBET」購入ファイルの切り出し");

// One bet line of a purchase file from a bet as the pending-bet reader gives it; the amount as
// plain digits and "円", right-aligned in seven columns, an amount longer than that written whole.
QString PurchaseLine(const PendingBet& bet);
// The title line: yy "年 " mm "月 " dd "日".
QString PurchaseTitle(const QString& day);
// The file number (1-9) of bet k (1-based).
int PurchaseFileNumber(int k);

// Deletes the day's pending-bet file by renaming it to its backup "~B" + day + ".BAK": the bets
// once sent on can be had back. When the rename fails nothing changes; the failure names the file.
Status RemovePendingBetsKeepingBackup(const AppPaths& paths, const QString& day);

// Replaces the day's old purchase files (yyyymmdd + two characters + ".BET") with the new ones as
// one set (a failure leaves every old file). Gives the report to show; after it the caller offers
// to delete the pending-bet file (OfferPendingBetRemoval).
Result<Notice> CutPurchaseFiles(AppContext& ctx, const QString& day);

// Asks the question (No by default) and on Yes deletes the day's pending-bet file keeping its
// backup; a failure comes under the caption.
Status OfferPendingBetRemoval(AppContext& ctx, const QString& day, const QString& question, const QString& caption);
// The question that follows the purchase files.
Status OfferPendingBetRemoval(AppContext& ctx, const QString& day);

}  // namespace zm
