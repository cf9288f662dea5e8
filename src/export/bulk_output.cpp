#include "export/bulk_output.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "bets/bet_output.h"
#include "bets/odds_lookup.h"
#include "codes/codetables.h"
#include "codes/amount.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "export/pending_append.h"
#include "import/day_import.h"
#include "import/records.h"
#include "import/work_folder.h"
#include "pat/pat_files.h"
#include "pat/pat_format.h"

#include <QFileInfo>
#include <QHash>
#include <cmath>
#include <memory>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kSixBlanks = QStringLiteral("      ");
const QString kScratched = QStringLiteral("ﾄﾘｹｼ");

// The type words of the lines, padded to six Shift-JIS bytes.
const std::array<QString, 5> kTypeWords = {QStringLiteral("単勝  "), QStringLiteral("複勝  "),
                                          QStringLiteral("枠連  "), QStringLiteral("馬連  "),
                                          QStringLiteral("ワイド")};

QString key(const char* name) {
    return QString::fromLatin1(name);
}

// A stored bound taken when it lies in [lo, hi], else the fallback.
QString storedBound(const SettingsStore& store, const char* name, double lo, double hi, int fallback) {
    const double v = Val(store.read(kBulkSection, key(name)));
    return QString::number(v >= lo && v <= hi ? static_cast<int>(v) : fallback);
}

// A typed bound accepted in [lo, hi], else the fallback.
int typedBound(const QString& text, int lo, int hi, int fallback) {
    const double v = Val(text);
    return v >= lo && v <= hi ? static_cast<int>(v) : fallback;
}

bool typeTaken(ContestBetType type, BulkTypes filter) {
    switch (filter) {
    case BulkTypes::WinAndPairs:
        return true;
    case BulkTypes::PairsOnly:
        return type == ContestBetType::Bracket || type == ContestBetType::Quinella || type == ContestBetType::Wide;
    case BulkTypes::WinOnly:
        return type == ContestBetType::Win;
    case BulkTypes::PlaceFromWin:
        return type == ContestBetType::Win || type == ContestBetType::Place;
    }
    return false;
}

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

QString combinationOf(ContestBetType type, int a, int b) {
    if (type == ContestBetType::Win || type == ContestBetType::Place)
        return rightPart(QString::number(a), 5);
    if (b < a)
        std::swap(a, b);
    if (type == ContestBetType::Bracket)
        return rightPart(QString::number(a) + u'-' + QString::number(b), 5);
    return twoDigits(a) + u'-' + twoDigits(b);
}

bool insideWindow(const PendingBet& bet, const QString& odds, const OddsWindow& window) {
    if (odds.contains(kScratched))
        return false;
    const double v = FieldValue(odds);
    // A bet without odds cannot be shown to lie in the window: it is left out.
    if (v <= 0)
        return false;
    const bool winPlace = bet.BetType.startsWith(u'単') || bet.BetType.startsWith(u'複');
    const int lo = winPlace ? window.winMin : window.pairMin;
    const int hi = winPlace ? window.winMax : window.pairMax;
    return v >= lo && v <= hi;
}

}  // namespace

QString bulkNothingFoundMessage() {
    return QStringLiteral("指定された予想が存在しないか、予想項目が見つかりません。") + kCrLf +
           QStringLiteral("あるいはオッズ範囲を指定していて該当買い目がオッズ範囲にないことも考えられます。");
}

QString bulkSkippedMessage(int entries, const QString& first) {
    return QString::number(entries) + QStringLiteral("件のレースは場所が読めないため飛ばしました（最初の見出し「") +
           escapeControls(first) + QStringLiteral("」）。");
}

QString bulkCountMessage(int lines) {
    return QStringLiteral("保留ＢＥＴファイルに、") + FullWidthDigits(QString::number(lines)) +
           QStringLiteral("ベット出力しました。");
}

BulkOutForm OpenBulkOutForm(const SettingsStore& store, const AppSettings& settings, const QString& day) {
    BulkOutForm f;
    f.Path = store.read(kBulkSection, key("Path"));
    if (f.Path.isEmpty())
        f.Path = settings.OutPutDir + u'W' + day + QStringLiteral(".TXT");
    f.murFormat = store.read(kBulkSection, key("Sikibetu")) == u"MUR";
    f.SoftCode_MUR = store.read(kBulkSection, key("SoftCode_MUR"));
    if (f.SoftCode_MUR.isEmpty())
        f.SoftCode_MUR = QStringLiteral("A917");
    f.SoftCode_DUEL = store.read(kBulkSection, key("SoftCode_DUEL"));
    if (f.SoftCode_DUEL.isEmpty())
        f.SoftCode_DUEL = QStringLiteral("0863");
    const double types = Val(store.read(kBulkSection, key("Syubetu")));
    f.Syubetu = types >= 0 && types <= 3 ? static_cast<BulkTypes>(static_cast<int>(types)) : BulkTypes::WinAndPairs;
    f.OddsIN = store.read(kBulkSection, key("OddsIN")) == u"1";
    f.OddsReng = store.read(kBulkSection, key("OddsReng")) == u"1";
    f.TminOdds = storedBound(store, "TminOdds", 1, 999, kTwinDefaultMin);
    const double tmin = Val(f.TminOdds);
    f.TmaxOdds = storedBound(store, "TmaxOdds", tmin + 1, 1000, kTwinDefaultMax);
    f.RminOdds = storedBound(store, "RminOdds", 1, 9999, kRwinDefaultMin);
    const double rmin = Val(f.RminOdds);
    f.RmaxOdds = storedBound(store, "RmaxOdds", rmin + 1, 10000, kRwinDefaultMax);
    const std::array<const QString*, 5> stakes = {&settings.BetTan, &settings.BetFuku, &settings.BetWaku,
                                                  &settings.BetUma, &settings.BetWide};
    for (size_t k = 0; k < 5; ++k)
        f.stakes[k] = normalizedDefaultStake(*stakes[k]);
    return f;
}

Status SaveBulkOutForm(AppContext& ctx, const BulkOutForm& form) {
    Status stored;  // the first write that failed; the rest are not tried
    auto put = [&](const char* name, const QString& value) {
        if (stored)
            stored = ctx.store.SaveAppSetting(kBulkSection, key(name), value);
    };
    put("Path", form.Path);
    put("Sikibetu", form.murFormat ? QStringLiteral("MUR") : QStringLiteral("DUEL"));
    put("SoftCode_MUR", form.SoftCode_MUR.trimmed());
    put("SoftCode_DUEL", form.SoftCode_DUEL.trimmed());
    put("Syubetu", QString::number(static_cast<int>(form.Syubetu)));
    put("OddsIN", form.OddsIN ? QStringLiteral("1") : QStringLiteral("0"));
    put("OddsReng", form.OddsReng ? QStringLiteral("1") : QStringLiteral("0"));
    put("TminOdds", QString::number(Val(form.TminOdds)));
    put("TmaxOdds", QString::number(Val(form.TmaxOdds)));
    put("RminOdds", QString::number(Val(form.RminOdds)));
    put("RmaxOdds", QString::number(Val(form.RmaxOdds)));
    const std::array<QString*, 5> record = {&ctx.settings.BetTan, &ctx.settings.BetFuku, &ctx.settings.BetWaku,
                                            &ctx.settings.BetUma, &ctx.settings.BetWide};
    for (size_t k = 0; k < 5; ++k) {
        const QString value = bulkStakeOf(form.stakes[k]).digits();
        *record[k] = value;
        if (stored)
            stored = ctx.store.SaveAppSetting(QStringLiteral("PAT"), kBulkStakeKeys[k], value);
    }
    return stored;
}

QString bulkHeading(const QString& day) {
    return day.left(4) + u'年' + day.mid(4, 2) + u'月' + day.mid(6, 2) +
           QStringLiteral("日の予想を保留ＢＥＴファイルへ一括出力します。");
}

OddsWindow oddsWindowOf(const BulkOutForm& form) {
    OddsWindow w;
    w.winMin = typedBound(form.TminOdds, 1, 999, kTwinDefaultMin);
    w.winMax = typedBound(form.TmaxOdds, 1, 999, kTwinDefaultMax);
    // A lower bound at or above its upper bound is not taken.
    if (w.winMin >= w.winMax)
        w.winMin = kTwinDefaultMin;
    w.pairMin = typedBound(form.RminOdds, 1, 9999, kRwinDefaultMin);
    w.pairMax = typedBound(form.RmaxOdds, 1, 9999, kRwinDefaultMax);
    if (w.pairMin >= w.pairMax)
        w.pairMin = kRwinDefaultMin;
    return w;
}

Amount bulkStakeOf(const QString& typed) {
    const double v = std::floor(FieldValue(typed) / 100.0) * 100.0;
    if (!(v >= static_cast<double>(kMinStake)))
        return Amount::yen(kMinStake);
    return Amount::yen(static_cast<std::int64_t>(std::min(v, static_cast<double>(kMaxStake))));
}

BulkOddsLookup patOddsLookup(AppContext& ctx, const QString& day) {
    // Each PAT file read once, through the capped read of a regular file (a FIFO in PAT's
    // folder reads as no file).
    class Files {
    public:
        const QByteArray* bytes(const QString& path) {
            auto it = files_.find(path);
            if (it == files_.end()) {
                QByteArray b = zm::readPatFile(path, zm::kMaxPatFile);
                it = files_.insert(path, b.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(b)));
            }
            return it->has_value() ? &**it : nullptr;
        }

    private:
        QHash<QString, std::optional<QByteArray>> files_;
    };
    struct State {
        QString ver;
        QString patDir;
        MeetingDays days;
        Files files;
    };
    auto state = std::make_shared<State>(
        State{ctx.settings.Ver, withTrailingSlash(ctx.settings.PatDir), MeetingDays(ctx.paths, day), {}});
    return [state](const PendingBet& bet) -> Result<QString> {
        const QString kind = bet.BetType.left(1);
        const QString prefix = zm::readsQuinellaFile(kind) ? zm::kQuinellaPrefix : zm::kWinPlacePrefix;
        const QString venueCode = ServiceVenueCodeOf(bet.Venue);
        const QString raceNo = bet.Race.left(2);
        const zm::PatFormat* format = zm::patFormatOf(state->ver);
        QString nichi;
        if (!format || format->namesFilesByMeetingDay()) {
            nichi = state->days.of(venueCode);
            if (Val(nichi) == 0)
                return Status::warning(QStringLiteral("開催日次を取得できません！　オッズ取得を中止します。"), kBulkTitle);
        }
        QString odds;
        if (format) {
            const QString file =
                format->betOddsFile(state->patDir, prefix, venueCode, raceNo, QStringView(nichi).right(1));
            if (const QByteArray* bytes = state->files.bytes(file))
                odds = format->betOdds(*bytes, kind, bet.Combination);
        }
        if (FieldValue(odds) > 0 || odds.contains(kScratched))
            return fitField(odds, PendingBetFields::Odds);
        return kSixBlanks;
    };
}

PendingBetTable bulkBets(const std::vector<ContestBet>& selections, const BulkOutForm& form) {
    std::array<QString, 5> stakes;
    for (size_t k = 0; k < 5; ++k)
        stakes[k] = bulkStakeOf(form.stakes[k]).digits().rightJustified(5) + u'円';
    PendingBetTable table;
    for (const ContestBet& s : selections) {
        // Only the courses PAT sells can become pending bets.
        if (!typeTaken(s.type, form.Syubetu) || ServiceVenueCodeOf(s.venue).isEmpty())
            continue;
        ContestBetType type = s.type;
        if (type == ContestBetType::Win && form.Syubetu == BulkTypes::PlaceFromWin)
            type = ContestBetType::Place;
        if (type == ContestBetType::Quinella && form.quinellaToWide)
            type = ContestBetType::Wide;
        const auto t = static_cast<size_t>(type);
        PendingBet b;
        b.Venue = s.venue;
        b.Race = betRaceText(s.race);
        b.BetType = kTypeWords[t];
        b.Combination = combinationOf(type, s.first, s.second);
        b.Odds = kSixBlanks;
        b.Amount = stakes[t];
        table.push_back(b);
    }
    return table;
}

namespace {

// A stake above the largest one is refused rather than written as another amount.
Status checkStakes(const BulkOutForm& form) {
    static const char16_t* const kTypeNames[] = {u"単勝", u"複勝", u"枠連", u"馬連", u"ワイド"};
    for (size_t k = 0; k < form.stakes.size(); ++k) {
        if (FieldValue(form.stakes[k]) > static_cast<double>(kMaxStake))
            return Status::warning(QString::fromUtf16(kTypeNames[k]) + QStringLiteral("の金額「") + form.stakes[k] +
                                       QStringLiteral("」：") + stakeRuleText(),
                                   kBulkTitle);
    }
    return {};
}

// The bets with their odds written in (OddsIN) and those outside the form's odds window left out
// (OddsReng).
Status applyOdds(const BulkOutForm& form, const BulkOddsLookup& odds, PendingBetTable& built) {
    const OddsWindow window = oddsWindowOf(form);
    PendingBetTable kept;
    for (PendingBet& b : built) {
        const Result<QString> found = odds(b);
        if (!found)
            return found.status();
        if (form.OddsReng && !insideWindow(b, *found, window))
            continue;
        if (form.OddsIN)
            b.Odds = *found;
        kept.push_back(b);
    }
    built = std::move(kept);
    return {};
}

}  // namespace

Result<BulkResult> RunBulkOutput(AppContext& ctx, const QString& day, const BulkOutForm& form,
                                 const BulkOddsLookup& lookup) {
    BulkResult result;
    if (const Status stakes = checkStakes(form); !stakes)
        return stakes;
    if (form.Path.isEmpty() || !QFileInfo::exists(form.Path))
        return Status::warning(kBulkFileMissing, kBulkTitle);
    const Result<QByteArray> bytes = readOutsideFile(form.Path, kMaxContestFile);
    if (!bytes.ok())
        return Status::warning(bytes.message(), kBulkTitle);
    ContestSkips skips;
    const auto read = readContestFile(*bytes, form.murFormat ? ContestFormat::Mur : ContestFormat::Duel, day,
                                      form.murFormat ? form.SoftCode_MUR.trimmed() : form.SoftCode_DUEL.trimmed(),
                                      &skips);
    if (!read.ok())
        return Status::warning(read.message(), kBulkTitle);
    result.skippedEntries = skips.venueLines;
    result.firstSkippedEntry = skips.firstVenueLine;
    PendingBetTable built = bulkBets(*read, form);

    if (form.OddsIN || form.OddsReng) {
        if (const Status odds = applyOdds(form, lookup ? lookup : patOddsLookup(ctx, day), built); !odds)
            return odds;
    }

    if (built.empty()) {
        result.outcome = BulkOutcome::NothingFound;
        result.notice = Notice{bulkNothingFoundMessage(), kBulkTitle};
        return result;
    }

    const QString path = PendingBetPath(ctx.paths, day);
    const int count = static_cast<int>(built.size());
    if (count > kPendingBetTableSize)
        return Status::warning(tooManyBetsMessage(count, kPendingBetTableSize), kBulkTitle);
    const Result<PendingBetsOnDisk> onDisk = readPendingBetsForWriting(path);
    if (!onDisk.ok())
        return onDisk.status().titled(kBulkTitle);
    bool append = false;
    if (onDisk->exists) {
        const Answer a = ctx.prompter.yesNoCancel(
            QStringLiteral("保留ＢＥＴファイルがありますが上書きしますか？") + kCrLf + kCrLf +
                QStringLiteral("はい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止") + kCrLf + kCrLf,
            kBulkTitle);
        if (a == Answer::Cancel) {
            result.outcome = BulkOutcome::Cancelled;
            return result;
        }
        append = a == Answer::No;
    }
    // Every bet is checked to read back as itself before anything is written.
    const Result<QByteArray> newLines = PendingBetBytes(built);
    if (!newLines.ok())
        return newLines.status().titled(kBulkTitle);
    // The one place new bets reach the pending-bet file.
    const Status s = writeNewPendingBets(path, *onDisk, *newLines, count, append);
    if (!s.ok())
        return s.titled(kBulkTitle);
    result.outcome = BulkOutcome::Written;
    result.written = static_cast<int>(built.size());
    QString done = bulkCountMessage(result.written);
    if (result.skippedEntries > 0)
        done += kCrLf + bulkSkippedMessage(result.skippedEntries, result.firstSkippedEntry);
    result.notice = Notice{done, kBulkTitle};
    return result;
}

}  // namespace zm
