#include "export/tekichukai.h"

#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"
#include "export/pending_append.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace zm {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;

// The bracket's digits of a trimmed combination: its first and third characters.
QChar charAt(const QString& text, qsizetype i) {
    return i < text.size() ? text[i] : QChar();
}

QString postCombination(const QString& combination, QChar type) {
    const QString c = rightPart(u"     "_s + combination, 5);
    if (type == u'馬' || type == u'拡' || type == u'ワ' || type == u'ﾜ') {
        auto part = [](const QString& p) { return Val(p) < 10 ? QString(u' ') + p.right(1) : p; };
        return part(c.left(2)) + u'-' + part(c.right(2));
    }
    if (type == u'枠') {
        const QString t = trimBlanks(c);
        QString out = u" "_s;
        if (!charAt(t, 0).isNull())
            out += charAt(t, 0);
        out += u"- "_s;
        if (!charAt(t, 2).isNull())
            out += charAt(t, 2);
        return out;
    }
    return c;
}

QStringList areaLines(const QString& text) {
    QString t = text;
    t.replace(u"\r\n"_s, u"\n"_s);
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QString withCrLf(const QStringList& lines) {
    QString out;
    for (const QString& l : lines)
        out += l + kCrLf;
    return out;
}

const char16_t* const kVenueNames[] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                                       u"中山", u"中京", u"京都", u"阪神", u"小倉"};
const struct {
    const char16_t* code;
    const char16_t* name;
} kVenueCodes[] = {{u"SPR", u"札幌"}, {u"HDT", u"函館"}, {u"NGT", u"新潟"}, {u"FSM", u"福島"}, {u"TKY", u"東京"},
                   {u"NYM", u"中山"}, {u"KYT", u"京都"}, {u"HSN", u"阪神"}, {u"CHU", u"中京"}, {u"KOK", u"小倉"}};

const struct {
    const char16_t* word;
    const char16_t* type;
} kTypeWords[] = {
    {u"単勝", u"単勝  "},   {u"単", u"単勝  "},   {u"Ｔ", u"単勝  "},   {u"ｔ", u"単勝  "},   {u"T", u"単勝  "},
    {u"t", u"単勝  "},      {u"複勝", u"複勝  "}, {u"複", u"複勝  "},   {u"Ｆ", u"複勝  "},   {u"ｆ", u"複勝  "},
    {u"F", u"複勝  "},      {u"f", u"複勝  "},    {u"枠連", u"枠連  "}, {u"枠", u"枠連  "},   {u"Ｗ", u"枠連  "},
    {u"ｗ", u"枠連  "},     {u"W", u"枠連  "},    {u"w", u"枠連  "},    {u"馬連", u"馬連  "}, {u"馬", u"馬連  "},
    {u"Ｕ", u"馬連  "},     {u"ｕ", u"馬連  "},   {u"U", u"馬連  "},    {u"u", u"馬連  "},    {u"拡連", u"ワイド"},
    {u"ワイド", u"ワイド"}, {u"拡", u"ワイド"},   {u"ワ", u"ワイド"},   {u"Ｋ", u"ワイド"},   {u"ｋ", u"ワイド"},
    {u"K", u"ワイド"},      {u"k", u"ワイド"},
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Output.

QString TekichukaiBetLine(const PendingBet& bet, const QString& day) {
    const QString venue = rightPart(u"　　"_s + trimBlanks(bet.Venue), 2);
    const QString race = rightPart(u"   "_s + trimBlanks(bet.Race), 3);
    const QString type = LeftBytes(trimBlanks(bet.BetType) + u"      "_s, 6);
    const QChar typeChar = type.isEmpty() ? QChar(u' ') : type[0];
    const std::optional<Amount> stake = bet.stake();
    QString amount = stake ? stake->digits() : trimBlanks(bet.Amount);
    if (!stake && amount.endsWith(u'円'))
        amount.chop(1);
    return u"#,"_s + day + u',' + venue + u',' + race + u',' + typeChar + u',' +
           postCombination(trimBlanks(bet.Combination), typeChar) + u',' + amount.rightJustified(6, u' ');
}

std::optional<Amount> pendingBetStake(QStringView amountField) {
    return ParseAmount(amountField);
}

QString TekichukaiList::text() const {
    return withCrLf(lines);
}

TekichukaiList ListTekichukaiBets(const QString& pendingBetPath, const QString& day) {
    TekichukaiList list;
    if (!QFileInfo::exists(pendingBetPath))
        return list;
    list.fileExists = true;
    // Only a clean pending-bet file is posted: a regular file of a sensible size, Shift-JIS text
    // of six-field lines with known venues (a FIFO at the name or a damaged file is a message).
    // The type word "拡…" is kept: its first character is what the post writes.
    const Result<PendingBetFile> file = ReadPendingBets(pendingBetPath, NormalizeRules{.keepKaku = true});
    if (!file.ok()) {
        list.refused = file.message();
        return list;
    }
    QStringList lines;
    for (const PendingBet& bet : file->bets)
        lines << TekichukaiBetLine(bet, day);
    list.bets = static_cast<int>(lines.size());
    list.tooMany = list.bets > kTekichukaiMaxBets;
    if (!list.tooMany && list.refused.isEmpty())
        list.lines = lines;
    return list;
}

TekichukaiTotals RecountTekichukai(const QString& text) {
    TekichukaiTotals t;
    for (const QString& line : areaLines(text)) {
        const QStringList f = line.split(u',');
        if (f.size() < 7)
            continue;
        ++t.count;
        if (const auto a = ParseAmount(f[6]))
            t.stake += *a;
    }
    return t;
}

QString thousandsOrEmpty(Amount value) {
    return value.isZero() ? QString() : value.display();
}

QString cutToBytesWithDashes(const QString& text, int bytes) {
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, n);
        const int w = ByteLength(ch);
        if (used + w > bytes)
            break;
        out += ch;
        used += w;
        i += n - 1;
    }
    return out + QString(bytes - used, u'-');
}

QString TekichukaiTitle(const QString& day) {
    QString d = day;
    d.remove(u'/');
    const QString title = u"--- "_s + d.left(4) + u"年"_s + d.mid(4, 2) + u"月"_s + d.mid(6, 2) + u"日("_s +
                          WeekdayChar(d) + u") の『的中会』投票---"_s;
    return cutToBytesWithDashes(title, 42);
}

QString TekichukaiVersionLine(const QString& version) {
    return cutToBytesWithDashes(u"--- Output by「ゼノゼノＭＵＲ Ver"_s + version + u"」"_s, 42);
}

QString QuinellaToWide(const QString& text) {
    QStringList lines = areaLines(text);
    for (QString& l : lines) {
        if (l.size() < 21)
            continue;
        const qsizetype at = l.indexOf(u",馬,"_s);
        if (at >= 0)
            l.replace(at, 3, u",ワ,"_s);
    }
    return withCrLf(lines);
}

QString TekichukaiPost(const QString& day, const QString& areaText, bool quinellaToWide, const QString& version) {
    const TekichukaiTotals totals = RecountTekichukai(areaText);
    const QString area = quinellaToWide ? QuinellaToWide(areaText) : withCrLf(areaLines(areaText));
    return TekichukaiTitle(day) + kCrLf + kCrLf + area + kCrLf + u"     《 "_s +
           FullWidthDigits(QString::number(totals.count)) + u"ベット  "_s + thousandsOrEmpty(totals.stake) +
           u"円購入 》"_s + kCrLf + TekichukaiVersionLine(version) + kCrLf;
}

QString TekichukaiFilePath(const QString& outPutDir, const QString& day) {
    return withTrailingSlash(outPutDir) + u"的中会"_s + day + u".TXT"_s;
}

QString tekichukaiFileDoneMessage(const QString& path) {
    return u"「"_s + path + u"」に出力しました！"_s;
}

// ---------------------------------------------------------------------------------------------
// Import.

namespace {

// Half-width, ASCII letters upper-cased.
QString narrowUpper(QStringView text) {
    QString s = HalfWidth(text);
    for (QChar& c : s) {
        if (c >= u'a' && c <= u'z')
            c = QChar(static_cast<char16_t>(c.unicode() - 0x20));
    }
    return s;
}

}  // namespace

std::optional<QString> ParseVenue(QStringView field) {
    const QString v = narrowUpper(field);
    for (const char16_t* name : kVenueNames) {
        if (v == QStringView(name))
            return v;
    }
    for (const auto& c : kVenueCodes) {
        if (v == QStringView(c.code))
            return QString::fromUtf16(c.name);
    }
    return std::nullopt;
}

std::optional<QString> ParseRace(QStringView field) {
    const QString r = narrowUpper(field);
    if (!r.endsWith(u'R'))
        return std::nullopt;
    // Digits only before the "R" (blanks in front allowed): no sign, point or exponent.
    const QStringView number = QStringView(r).chopped(1).trimmed();
    if (number.isEmpty() || number.size() > 2)
        return std::nullopt;
    int n = 0;
    for (QChar c : number) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    if (n < 1 || n > 12)
        return std::nullopt;
    return rightPart(QString::number(n) + u'R', 3);
}

std::optional<QString> ParseBetType(QStringView field) {
    for (const auto& t : kTypeWords) {
        if (field == QStringView(t.word))
            return QString::fromUtf16(t.type);
    }
    return std::nullopt;
}

namespace {

// Exactly two numbers in [1, high] separated by one dash.
std::optional<std::pair<int, int>> numberPair(const QString& text, int high) {
    const QStringList parts = text.split(u'-');
    if (parts.size() != 2)
        return std::nullopt;
    const auto a = SmallNumber(QStringView(parts[0]).trimmed(), 1, high);
    const auto b = SmallNumber(QStringView(parts[1]).trimmed(), 1, high);
    if (!a || !b)
        return std::nullopt;
    return std::pair{*a, *b};
}

}  // namespace

std::optional<QString> ParseCombination(QStringView field, QStringView typeWord) {
    const QChar type = typeWord.isEmpty() ? QChar() : typeWord[0];
    QString c = narrowUpper(field);
    c.replace(u'ｰ', u'-');
    if (type == u'単' || type == u'複') {
        const auto n = SmallNumber(QStringView(c).trimmed(), 1, 18);
        if (!n)
            return std::nullopt;
        return rightPart(QString::number(*n), 5);
    }
    if (type == u'枠') {
        const auto p = numberPair(c, 8);
        if (!p)
            return std::nullopt;
        return rightPart(QString::number(std::min(p->first, p->second)) + u'-' +
                             QString::number(std::max(p->first, p->second)),
                         5);
    }
    if (type == u'馬' || type == u'ワ') {
        const auto p = numberPair(c, 18);
        if (!p || p->second <= p->first)
            return std::nullopt;
        return QString::number(p->first).rightJustified(2, u'0') + u'-' +
               QString::number(p->second).rightJustified(2, u'0');
    }
    return std::nullopt;
}

std::optional<Amount> ParseStake(QStringView field) {
    const auto a = ParseAmount(field);
    if (!a || !isValidStake(*a))
        return std::nullopt;
    return a;
}

std::optional<Amount> FixedAmountValue(QStringView text) {
    if (text.trimmed().isEmpty())
        return Amount::yen(kMinStake);
    const auto a = ParseAmount(text);
    if (!a)
        return std::nullopt;
    const std::int64_t v = a->value() / kStakeUnit * kStakeUnit;
    if (v > kMaxStake)
        return std::nullopt;
    return Amount::yen(std::max(v, kMinStake));
}

int fixedAmountIndex(QStringView typeWord) {
    if (typeWord.isEmpty())
        return -1;
    switch (typeWord[0].unicode()) {
        case u'単':
            return 0;
        case u'複':
            return 1;
        case u'枠':
            return 2;
        case u'馬':
            return 3;
        case u'ワ':
            return 4;
        default:
            return -1;
    }
}

namespace {

// A post line with full-width commas read as commas, split into its fields, each trimmed of
// half- and full-width blanks and tabs.
QStringList postFields(const QString& line) {
    QString l = line;
    l.replace(u'，', u',');
    QStringList f = l.split(u',');
    for (QString& field : f)
        field = QStringView(field).trimmed().toString();
    return f;
}

}  // namespace

QList<QStringView> TekichukaiFirstPass(const QString& text, const QString& day) {
    QList<QStringView> kept;
    // Lines are looked at in place: only a line that starts with "#" is split, only a kept one copied.
    for (const QStringView raw : LinesOf(text)) {
        const QStringView line = raw.trimmed();
        if (!line.startsWith(u'#'))
            continue;
        const QString owned = line.toString();
        const QStringList f = postFields(owned);
        if (f.size() < 2 || f[0] != u"#" || f[1] != day)
            continue;
        kept << line;
    }
    return kept;
}

TekichukaiImport TekichukaiSecondPass(const QList<QStringView>& kept, const TekichukaiFixedAmounts& fixed) {
    TekichukaiImport out;
    for (const QStringView line : kept) {
        auto skip = [&](const QString& why) {
            if (out.skipped++ == 0) {
                out.firstSkipped = line.toString();
                out.firstReason = why;
            }
        };
        const QStringList f = postFields(line.toString());
        if (f.size() != 7) {
            skip(u"項目が７つではありません"_s);
            continue;
        }
        const auto venue = ParseVenue(f[2]);
        if (!venue) {
            skip(u"場所が読めません"_s);
            continue;
        }
        const auto race = ParseRace(f[3]);
        if (!race) {
            skip(u"レースが読めません"_s);
            continue;
        }
        const auto type = ParseBetType(f[4]);
        if (!type) {
            skip(u"券種が読めません"_s);
            continue;
        }
        const auto combination = ParseCombination(f[5], *type);
        if (!combination) {
            skip(u"買い目が読めません"_s);
            continue;
        }
        auto stake = ParseStake(f[6]);
        if (!stake) {
            skip(stakeRuleText());
            continue;
        }
        const int k = fixedAmountIndex(*type);
        if (k >= 0 && fixed.on[static_cast<size_t>(k)]) {
            const auto amount = FixedAmountValue(fixed.amount[static_cast<size_t>(k)]);
            if (!amount) {
                skip(stakeRuleText());
                continue;
            }
            stake = amount;
        }
        out.total += *stake;
        if (++out.bets > kPendingBetTableSize + 1)
            continue;
        out.lines << *venue + u',' + *race + u',' + LeftBytes(*type, 6) + u',' + *combination + u",      ,"_s +
                         stake->digits().rightJustified(5, u' ') + u'円';
    }
    return out;
}

QString tekichukaiConfirmText(int count, Amount total) {
    return QString::number(count) + u"BET  "_s + total.digits() +
           u"円  の買い目がありますが保留ＢＥＴに出力しますか？"_s;
}

QString tekichukaiSkippedText(const TekichukaiImport& bets) {
    if (bets.skipped == 0)
        return {};
    return QString::number(bets.skipped) + u"行は取り込めませんでした（最初の行「"_s + escapeControls(bets.firstSkipped) +
           u"」："_s + bets.firstReason + u"）。"_s;
}

QString tekichukaiDoneMessage(const TekichukaiImport& bets) {
    return QString::number(bets.bets) + u"行を保留ＢＥＴに出力しました。"_s + tekichukaiSkippedText(bets);
}

Result<BetDone> ImportTekichukai(AppContext& ctx, const QString& day, const QString& text,
                                 const TekichukaiFixedAmounts& fixed) {
    if (text.isEmpty())
        return Status::notice(kTekichukaiNothing);
    for (size_t k = 0; k < fixed.on.size(); ++k) {
        if (fixed.on[k] && !FixedAmountValue(fixed.amount[k]))
            return Status::warning(u"金額の変更「"_s + fixed.amount[k] + u"」："_s + stakeRuleText(),
                                   kTekichukaiOverwriteTitle);
    }
    const QList<QStringView> kept = TekichukaiFirstPass(text, day);
    const TekichukaiImport bets = TekichukaiSecondPass(kept, fixed);
    if (bets.lines.isEmpty()) {
        const QString skipped = tekichukaiSkippedText(bets);
        return Status::notice(skipped.isEmpty() ? kTekichukaiNoValid : kTekichukaiNoValid + u"\r\n"_s + skipped);
    }
    const QString path = PendingBetPath(ctx.paths, day);
    const int count = bets.bets;
    if (count > kPendingBetTableSize)
        return Status::warning(tooManyBetsMessage(count, kPendingBetTableSize), kTekichukaiOverwriteTitle);
    const Result<PendingBetsOnDisk> onDisk = readPendingBetsForWriting(path);
    if (!onDisk.ok())
        return onDisk.status().titled(kTekichukaiOverwriteTitle);
    if (!ctx.prompter.yesNo(tekichukaiConfirmText(count, bets.total), kTekichukaiConfirmTitle))
        return BetDone{BetOutcome::Declined};
    bool append = false;
    if (onDisk->exists) {
        const Answer a = ctx.prompter.yesNoCancel(
            u"既に保留ＢＥＴファイルが存在しますが上書きしますか？\r\nはい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止"_s,
            kTekichukaiOverwriteTitle);
        if (a == Answer::Cancel)
            return BetDone{BetOutcome::Declined};
        append = a == Answer::No;
    }
    // The one place new bets reach the pending-bet file.
    const Status s = writeNewPendingBets(path, *onDisk, toSjis(withCrLf(bets.lines)), count, append);
    if (!s.ok())
        return s.titled(kTekichukaiOverwriteTitle);
    return BetDone{BetOutcome::Done, Notice{tekichukaiDoneMessage(bets), kTekichukaiOverwriteTitle}};
}

QString decodePostFile(const QByteArray& bytes) {
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (multiByte) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            if (text.startsWith(QChar(0xFEFF)))
                text.remove(0, 1);
            return text;
        }
    }
    return fromSjis(bytes);
}

}  // namespace zm
