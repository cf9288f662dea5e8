#pragma once

// The split of a two-day race-card archive ("HZ" + yymmdd + ".LZH"): the races of the second
// date, their entries and their horses go into a new archive "B" + yymmdd + ".LZH" in
// MurDataDir, which imports like any other.

#include "app/context.h"

#include <functional>

namespace zm {

// What the split window shows while the split runs.
struct SplitObserver {
    // The first date as "yyyy年mm月dd日 出馬表" (shown under "元データ").
    std::function<void(const QString&)> original;
    // The second date, the same way (shown under "追加データ").
    std::function<void(const QString&)> added;
    // The current step ("出馬表データを抽出中", "競走馬データを抽出中", "分割作業は終了しました！").
    std::function<void(const QString&)> status;
};

// Splits the archive at archivePath. Gives the path of the archive written, or why it stopped (a
// missing or unreadable archive, one date only, a write failure), with the message to show where
// the command has one.
Result<QString> SplitTwoDayArchive(AppContext& ctx, const QString& archivePath, const SplitObserver& observer = {});

}  // namespace zm
