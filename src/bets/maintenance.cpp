#include "bets/maintenance.h"

#include "app/safe_save.h"
#include "bets/odds_lookup.h"
#include "bets/sort_key.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/records.h"
#include "import/work_folder.h"
#include "pat/pat_files.h"
#include "pat/pat_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <cmath>
#include <optional>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kSection = QStringLiteral("保留BET");
const QString kNoDuplicates = QStringLiteral("重複した買い目はありませんでした。");

// A count as the messages write it: a leading blank for numbers that are not negative.
QString strOf(double v) {
    return (v >= 0 ? QStringLiteral(" ") : QString()) + NumberText(v);
}

// Reads the file for a command that rewrites it or counts it: a failure when the file is
// missing or cannot be read as pending bets (it is then left as it is).
Result<PendingBetFile> openBets(const QString& path, NormalizeRules rules = {}) {
    auto file = ReadPendingBets(path, rules);
    if (!file.ok())
        return Status::warning(file.message());
    if (!file->exists)
        return Status::notice(kNoPendingBets);
    return std::move(file.value());
}

Result<BetDone> write(const QString& path, const PendingBetTable& table) {
    if (const Status s = WritePendingBets(path, table); !s.ok())
        return s;
    return BetDone{};
}

QString duplicateKey(const PendingBet& b) {
    return b.Combination + u'\x1f' + b.Venue + u'\x1f' + b.Race + u'\x1f' + b.BetType;
}

Result<BetDone> foldCommand(AppContext& ctx, const QString& day, bool merge) {
    const QString path = PendingBetPath(ctx.paths, day);
    NormalizeRules rules;
    rules.waToWide = true;
    const auto file = openBets(path, rules);
    if (!file)
        return file.status();
    const auto folded = FoldDuplicates(file->bets, merge);
    if (!folded.ok())
        return Status::warning(folded.message());
    if (folded->duplicates == 0)
        return BetDone{BetOutcome::NothingToDo, Notice{kNoDuplicates}};
    const QString head = QStringLiteral("重複した買い目が ") + strOf(folded->duplicates) +
                         QStringLiteral("BETありました。") + kCrLf;
    const bool ok = merge ? ctx.prompter.confirm(
                                head + QStringLiteral("金額を統合してBET数を減らします。書き替えてよろしいですか？"),
                                QStringLiteral("保留ＢＥＴの重複買い目統合"))
                          : ctx.prompter.confirm(
                                head + QStringLiteral("最初に出現した買い目を残します。書き替えてよろしいですか？"),
                                QStringLiteral("保留ＢＥＴの重複買い目削除"));
    if (!ok)
        return BetDone{BetOutcome::Declined};
    return write(path, folded->kept);
}

}  // namespace

QString CombinationKey(QStringView combination, QStringView betType) {
    return BetSortKey(combination, betType);
}

QString BetSortKeyOf(const PendingBet& bet) {
    const double race = Val(QStringView(bet.Race).first(std::min<qsizetype>(2, bet.Race.size())));
    return JraVenueCodeOf(bet.Venue) + TwoDigits(ToInt16(race)) + BetTypeCode(bet.BetType) +
           CombinationKey(bet.Combination, bet.BetType);
}

void SortBets(PendingBetTable& table) {
    const size_t n = table.size();
    std::vector<double> keys(n);
    for (size_t i = 0; i < n; ++i)
        keys[i] = Val(BetSortKeyOf(table[i]));
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            if (keys[j] < keys[i]) {
                std::swap(keys[i], keys[j]);
                std::swap(table[i], table[j]);
            }
        }
    }
}

Result<BetDone> SortPendingBets(AppContext& ctx, const QString& day) {
    const QString path = PendingBetPath(ctx.paths, day);
    const auto file = openBets(path);
    if (!file)
        return file.status();
    PendingBetTable table = file->bets;
    if (table.size() < 2)
        return BetDone{BetOutcome::NothingToDo};
    SortBets(table);
    if (!ctx.prompter.confirm(QStringLiteral("ソート結果に基づき、保留ＢＥＴファイルを書き替えます。") + kCrLf +
                                   QStringLiteral("書き替えてよろしいですか？") + kCrLf,
                               QStringLiteral("保留ＢＥＴの並び替え")))
        return BetDone{BetOutcome::Declined};
    return write(path, table);
}

Result<DuplicateResult> FoldDuplicates(const PendingBetTable& table, bool merge) {
    DuplicateResult r;
    r.kept.reserve(table.size());
    QHash<QString, size_t> first;
    first.reserve(static_cast<qsizetype>(table.size()));
    for (const PendingBet& b : table) {
        const QString key = duplicateKey(b);
        const auto it = first.constFind(key);
        if (it == first.cend()) {
            first.insert(key, r.kept.size());
            r.kept.push_back(b);
            continue;
        }
        ++r.duplicates;
        if (!merge)
            continue;
        PendingBet& earlier = r.kept[*it];
        const auto a = earlier.stake();
        const auto c = b.stake();
        if (!a || !c)
            return Result<DuplicateResult>::failure(pendingBetName(earlier) +
                                                    QStringLiteral(" の金額が読めません。処理を中止します！"));
        const Amount sum = *a + *c;
        if (!isValidStake(sum)) {
            return Result<DuplicateResult>::failure(
                pendingBetName(earlier) + QStringLiteral(" の金額を統合すると") + sum.display() +
                QStringLiteral("円になり、1点の金額の上限（") + Amount::yen(kMaxStake).display() +
                QStringLiteral("円）を超えます。何も書き替えずに処理を中止します！"));
        }
        earlier.Amount = amountFieldText(sum);
    }
    return r;
}

Result<BetDone> RemoveDuplicateBets(AppContext& ctx, const QString& day) {
    return foldCommand(ctx, day, false);
}

Result<BetDone> MergeDuplicateBets(AppContext& ctx, const QString& day) {
    return foldCommand(ctx, day, true);
}

Result<BetDone> ImportBetOdds(AppContext& ctx, const QString& day) {
    const QString path = PendingBetPath(ctx.paths, day);
    const auto file = openBets(path);
    if (!file)
        return file.status();
    const Status pat = PatSettingsProblem(ctx.settings);
    if (!pat.ok())
        return Status::warning(pat.message() + QStringLiteral("\r\nメニューの［オプション］→［ＰＡＴの設定］でPATのフォルダとバージョンを指定してください。"));
    PendingBetTable table = file->bets;
    // "FHDUEL" has no format of its own: its bets keep their odds.
    const zm::PatFormat* format = zm::patFormatOf(ctx.settings.Ver);
    const QString patDir = withTrailingSlash(ctx.settings.PatDir);
    MeetingDays meetingDays(ctx.paths, day);
    PatFileCache cache;
    for (PendingBet& bet : table) {
        const QString kind = bet.BetType.left(1);
        const QString prefix = zm::readsQuinellaFile(kind) ? zm::kQuinellaPrefix : zm::kWinPlacePrefix;
        const QString venueCode = ServiceVenueCodeOf(bet.Venue);
        const QString raceNo = bet.Race.left(2);
        QString nichi;
        if (!format || format->namesFilesByMeetingDay()) {
            nichi = meetingDays.of(venueCode);
            if (Val(nichi) == 0)
                return Status::warning(QStringLiteral("開催日次を取得できません！　オッズ取得を中止します。"));
        }
        QString odds;
        if (format) {
            const QString file = format->betOddsFile(patDir, prefix, venueCode, raceNo, QStringView(nichi).right(1));
            if (const QByteArray* bytes = cache.bytes(file))
                odds = format->betOdds(*bytes, kind, bet.Combination);
        }
        if (FieldValue(odds) > 0 || odds.contains(QStringLiteral("ﾄﾘｹｼ")))
            bet.Odds = fitField(odds, PendingBetFields::Odds);
    }
    if (table.empty())
        return BetDone{BetOutcome::NothingToDo};
    return write(path, table);
}

OddsRangeDialog OpenOddsRangeDialog(const SettingsStore& store) {
    OddsRangeDialog d;
    for (size_t k = 0; k < 5; ++k) {
        const QString type = kOddsRangeTypes[k];
        d.checked[k] = ToInt16(Val(store.read(kSection, QStringLiteral("式別削除%1").arg(k + 1)))) == 1;
        std::int16_t lo = ToInt16(Val(store.read(kSection, type + QStringLiteral("オッズMIN"))));
        if (lo < 1)
            lo = 1;
        std::int16_t hi = ToInt16(Val(store.read(kSection, type + QStringLiteral("オッズMAX"))));
        if (hi <= lo)
            hi = ToInt16(lo + 1.0);
        d.minText[k] = QString::number(lo);
        d.maxText[k] = QString::number(hi);
    }
    d.noOddsAsOne = store.read(kSection, QStringLiteral("無オッズFLAG")) == u"False";
    return d;
}

OddsRangeBounds OddsRangeBoundsOf(const OddsRangeDialog& dialog) {
    OddsRangeBounds b;
    for (size_t k = 0; k < 5; ++k) {
        b.checked[k] = dialog.checked[k];
        b.min[k] = ToInt16(Val(dialog.minText[k]));
        b.max[k] = ToInt16(Val(dialog.maxText[k]));
        if (b.max[k] <= b.min[k])
            b.max[k] = ToInt16(b.min[k] + 1.0);
    }
    return b;
}

Status StoreOddsRangeSettings(SettingsStore& store, const OddsRangeBounds& bounds) {
    for (size_t k = 0; k < 5; ++k) {
        const QString type = kOddsRangeTypes[k];
        Status stored = store.SaveAppSetting(kSection, QStringLiteral("式別削除%1").arg(k + 1),
                                             bounds.checked[k] ? QStringLiteral("1") : QStringLiteral("0"));
        if (stored)
            stored = store.SaveAppSetting(kSection, type + QStringLiteral("オッズMIN"), QString::number(bounds.min[k]));
        if (stored)
            stored = store.SaveAppSetting(kSection, type + QStringLiteral("オッズMAX"), QString::number(bounds.max[k]));
        if (!stored)
            return stored;
    }
    return {};
}

Result<BetDone> DeleteBetsByOddsRange(AppContext& ctx, const QString& day, const OddsRangeDialog& dialog) {
    const QString path = PendingBetPath(ctx.paths, day);
    NormalizeRules rules;
    rules.keepKaku = true;
    const auto read = openBets(path, rules);
    if (!read)
        return read.status();
    const PendingBetFile& file = *read;
    if (file.bytes.size() < 10)
        return Status::notice(kPendingBetsEmpty);
    const OddsRangeBounds bounds = OddsRangeBoundsOf(dialog);
    // A disk that cannot take the settings will not take the bets either: stop before deleting.
    if (const Status stored = StoreOddsRangeSettings(ctx.store, bounds); !stored)
        return stored;
    if (std::find(bounds.checked.begin(), bounds.checked.end(), true) == bounds.checked.end())
        return Status::notice(QStringLiteral("削除項目が設定されていません！"));
    PendingBetTable kept;
    PendingBetTable removed;
    kept.reserve(file.bets.size());
    for (const PendingBet& bet : file.bets) {
        const QString& type = bet.BetType;
        const QString oddsText = trimBlanks(bet.Odds);
        const double v = FieldValue(oddsText);
        const float odds = v >= 1 ? static_cast<float>(v) : 1.0f;
        int row = -1;
        switch (type.isEmpty() ? u'\0' : type.front().unicode()) {
        case u'単':
            row = 0;
            break;
        case u'複':
            row = 1;
            break;
        case u'枠':
            row = 2;
            break;
        case u'馬':
            row = 3;
            break;
        case u'ワ':
        case u'拡':
            row = 4;
            break;
        default:
            break;
        }
        const auto r = static_cast<size_t>(row);
        const bool candidate = row >= 0 && bounds.checked[r] && static_cast<float>(bounds.min[r]) <= odds &&
                               odds < static_cast<float>(bounds.max[r]);
        const bool keep = !candidate || (oddsText.isEmpty() && !dialog.noOddsAsOne);
        (keep ? kept : removed).push_back(bet);
    }
    if (removed.empty())
        return BetDone{BetOutcome::NothingToDo, Notice{QStringLiteral("削除対象の保留ＢＥＴはありませんでした！")}};
    if (kept.empty())
        return BetDone{BetOutcome::NothingToDo,
                       Notice{QStringLiteral("保留ＢＥＴすべてが削除対象になりましたので処理を中止します！")}};
    // Shown before the file changes: the user acknowledges the deletion before it happens.
    ctx.prompter.information(
        QStringLiteral("削除対象になった保留ＢＥＴは「") + FullWidthDigits(QString::number(removed.size())) +
        QStringLiteral("ベット」ありました。") + kCrLf + QStringLiteral("指定されたオッズ範囲の保留ＢＥＴを削除します。") +
        kCrLf + kCrLf + QStringLiteral("なお、削除前の保留ＢＥＴファイルは、「~B") + day +
        QStringLiteral(".BAK」というファイル名で残します。") + kCrLf + kCrLf);
    // The old file becomes the backup and the kept bets the new file, each put in place whole.
    if (const Status backup = SafeSave::save(PendingBetBackupPath(ctx.paths, day), file.bytes); !backup.ok())
        return backup;
    return write(path, kept);
}

std::int64_t BetTotals::totalCount() const {
    std::int64_t n = 0;
    for (auto c : counts)
        n += c;
    return n;
}

Amount BetTotals::totalAmount() const {
    Amount s;
    for (Amount v : sums)
        s += v;
    return s;
}

QString thousands(double value) {
    const double r = std::round(value);
    if (std::fabs(r) < 9.0e15)
        return QLocale(QLocale::English, QLocale::UnitedStates).toString(static_cast<qlonglong>(r));
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(r, 'f', 0);
}

QString totalsHeading(const QString& day) {
    return day.left(4) + u'年' + strOf(Val(QStringView(day).mid(4, 2))) + u'月' + strOf(Val(QStringView(day).mid(6, 2))) +
           QStringLiteral("日 の保留ＢＥＴ内訳です…");
}

Result<BetTotals> PendingBetTotals(const AppPaths& paths, const QString& day) {
    const auto file = openBets(PendingBetPath(paths, day));
    if (!file)
        return file.status();
    BetTotals t;
    t.heading = totalsHeading(day);
    for (const PendingBet& bet : file->bets) {
        int k = -1;
        switch (bet.BetType.isEmpty() ? u'\0' : bet.BetType.front().unicode()) {
        case u'単':
            k = 0;
            break;
        case u'複':
            k = 1;
            break;
        case u'枠':
            k = 2;
            break;
        case u'馬':
            k = 3;
            break;
        case u'ワ':
        case u'拡':
            k = 4;
            break;
        default:
            return Status::failure(kPendingBetsOdd);
        }
        t.counts[static_cast<size_t>(k)] += 1;
        t.sums[static_cast<size_t>(k)] += bet.stake().value_or(Amount());
    }
    return t;
}

Status PatSettingsProblem(const AppSettings& settings) {
    // "FHDUEL" is a setting of its own that reads no PAT files.
    if (!zm::patFormatOf(settings.Ver) && settings.Ver != u"FHDUEL")
        return Status::failure(QStringLiteral("PATのバージョン（Ver）が設定されていません（31・95・98 のいずれか）。"));
    if (settings.PatDir.trimmed().isEmpty())
        return Status::failure(QStringLiteral("PATのフォルダ（PatDir）が設定されていません。"));
    if (!QFileInfo(settings.PatDir).isDir())
        return Status::failure(QStringLiteral("PATのフォルダ %1 がありません。").arg(QDir::toNativeSeparators(settings.PatDir)));
    return {};
}

Result<QString> PendingBetFileToEdit(const AppPaths& paths, const QString& day) {
    const QString path = PendingBetPath(paths, day);
    if (!QFileInfo(path).isFile())
        return Status::notice(kNoPurchaseFile);
    return path;
}

}  // namespace zm
