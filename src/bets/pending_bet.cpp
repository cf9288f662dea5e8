#include "bets/pending_bet.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <array>

namespace zm {

QString PendingBetPath(const AppPaths& paths, const QString& day) {
    return paths.DataDir + QStringLiteral("~B") + day + QStringLiteral(".TXT");
}

QString PendingBetBackupPath(const AppPaths& paths, const QString& day) {
    return paths.DataDir + QStringLiteral("~B") + day + QStringLiteral(".BAK");
}

double FieldValue(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i < text.size() && (text[i] == u'\t' || text[i] == u'\u3000'))
        return 0.0;
    return Val(text.sliced(i));
}

QString rightPart(QStringView text, int width) {
    if (text.size() >= width)
        return text.last(width).toString();
    return QString(width - text.size(), u' ') + text.toString();
}

QString fitField(QStringView text, const Field& field) {
    if (text.size() >= field.width)
        return text.first(field.width).toString();
    return text.toString() + QString(field.width - text.size(), u' ');
}

QString tooManyBetsMessage(int bets, int limit) {
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("保留ＢＥＴが%1件あります。この処理で扱えるのは%2件までです。処理を中止します！")
        .arg(c.toString(bets), c.toString(limit));
}

// ---- The one reader and the writers ----

namespace {

const QString kScratchMark = QStringLiteral("ﾄﾘｹｼ");

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The type's kind from the first character of its word: 単 複 枠 馬 or ワ (拡 counts as ワ).
QChar kindOf(QStringView type) {
    if (type.isEmpty())
        return {};
    const QChar c = type.front();
    if (c == u'拡')
        return u'ワ';
    if (c == u'単' || c == u'複' || c == u'枠' || c == u'馬' || c == u'ワ')
        return c;
    return {};
}

// Why a combination is not one of its type, or empty text when it is.
QString combinationProblem(QStringView c, QChar kind) {
    // Longer than its field, it could not be kept whole (blanks inside "5 - 12").
    if (c.size() > PendingBetFields::Combination.width)
        return QStringLiteral("組番は%1文字までです").arg(PendingBetFields::Combination.width);
    if (kind == u'単' || kind == u'複')
        return SmallNumber(c, 1, 18) ? QString() : QStringLiteral("馬番は1～18の数字です");
    const qsizetype dash = c.indexOf(u'-');
    if (dash < 0 || c.indexOf(u'-', dash + 1) >= 0)
        return QStringLiteral("組番は「数字-数字」です");
    const QStringView a = c.first(dash).trimmed();
    const QStringView b = c.sliced(dash + 1).trimmed();
    if (kind == u'枠') {
        if (!SmallNumber(a, 1, 8) || !SmallNumber(b, 1, 8) || a.size() != 1 || b.size() != 1)
            return QStringLiteral("枠番は1～8の数字です");
        return {};
    }
    const auto x = SmallNumber(a, 1, 18);
    const auto y = SmallNumber(b, 1, 18);
    if (!x || !y)
        return QStringLiteral("馬番は1～18の数字です");
    if (*x == *y)
        return QStringLiteral("同じ馬番の組です");
    return {};
}

bool oddsOk(QStringView odds) {
    if (odds.size() > PendingBetFields::Odds.width)
        return false;
    if (odds.isEmpty() || odds.contains(kScratchMark))
        return true;
    qsizetype i = 0;
    while (i < odds.size() && isAsciiDigit(odds[i]))
        ++i;
    if (i == 0)
        return false;
    if (i == odds.size())
        return true;
    if (odds[i] != u'.' || i + 1 == odds.size())
        return false;
    for (++i; i < odds.size(); ++i) {
        if (!isAsciiDigit(odds[i]))
            return false;
    }
    return true;
}

// A line as messages show it: control characters visible, long lines cut.
QString shownLine(QStringView line) {
    QString t = line.size() > 80 ? line.first(80).toString() + QStringLiteral("…") : line.toString();
    return escapeControls(t);
}

QString badLineMessage(const QString& path, qsizetype number, QStringView line, const QString& why) {
    return QStringLiteral(
               "保留ＢＥＴファイル %1 の %2 行目「%3」が読めません（%4）。ファイルには手を付けずに処理を中止します！")
        .arg(QDir::toNativeSeparators(path), QString::number(number), shownLine(line), why);
}

bool isBlankLine(QStringView line) {
    for (QChar c : line) {
        if (c != u' ')
            return false;
    }
    return true;
}

// True when the bytes are UTF-8 holding at least one character outside ASCII.
bool isMultiByteUtf8(const QByteArray& bytes) {
    if (isAscii(QByteArrayView(bytes)))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError() && !text.isEmpty();
}

// The five text fields of a bet (venue, race, type word, combination, odds), each trimmed, in
// the record's widths; the amount is set by the caller.
PendingBet normalizedBet(const std::array<QString, 5>& fields, NormalizeRules rules) {
    using F = PendingBetFields;
    PendingBet b;
    b.Venue = fitField(fields[0], F::Venue);
    b.Race = rightPart(QString(u' ') + fields[1], F::Race.width);
    QString type = fields[2];
    if (!rules.keepKaku && type.startsWith(u'拡'))
        type = QStringLiteral("ワイド");
    if (rules.waToWide && type == u"ワ")
        type = QStringLiteral("ワイド");
    b.BetType = fitField(LeftBytes(type + QStringLiteral("      "), 6), F::BetType);
    b.Combination = rightPart(fields[3], F::Combination.width);
    b.Odds = rightPart(fields[4], F::Odds.width);
    return b;
}

}  // namespace

std::optional<Amount> PendingBet::stake() const {
    return ParseAmount(Amount);
}

bool isKnownVenueName(QStringView name) {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (int n = 0; n <= 99; ++n) {
            const QString v = VenueName(QString::number(n).rightJustified(2, u'0'));
            if (v != u"？？" && v.size() == PendingBetFields::Venue.width)
                set.insert(v);
        }
        return set;
    }();
    return names.contains(name.toString());
}

QString amountFieldText(Amount stake) {
    const QString t = stake.digits() + u'円';
    return t.size() >= PendingBetFields::Amount.width ? t : rightPart(t, PendingBetFields::Amount.width);
}

PendingBet MakePendingBet(const QString& venue, int raceNo, const QString& betType, const QString& combination,
                          Amount stake, const QString& odds) {
    // Through the same normalization as a line read, so that a bet made here equals itself read back.
    PendingBet b = normalizedBet({venue, QString::number(raceNo) + u'R', betType, combination, odds}, {});
    b.Amount = amountFieldText(stake);
    return b;
}

Result<PendingBet> ParsePendingBetLine(QStringView line, NormalizeRules rules) {
    using R = Result<PendingBet>;
    std::array<QString, 6> f;
    qsizetype start = 0;
    for (int k = 0; k < 6; ++k) {
        const qsizetype comma = line.indexOf(u',', start);
        if (k < 5 && comma < 0)
            return R::failure(QStringLiteral("６つの欄をコンマで区切ってください（欄が%1つです）").arg(k + 1));
        if (k == 5 && comma >= 0)
            return R::failure(QStringLiteral("欄が７つ以上あります"));
        const qsizetype end = comma < 0 ? line.size() : comma;
        f[static_cast<size_t>(k)] = trimBlanks(line.sliced(start, end - start));
        start = end + 1;
    }
    if (!isKnownVenueName(f[0]))
        return R::failure(QStringLiteral("場名「%1」がありません").arg(f[0]));
    const QString& race = f[1];
    if (race.size() < 2 || !race.endsWith(u'R') || !SmallNumber(QStringView(race).chopped(1), 1, 12))
        return R::failure(QStringLiteral("レース「%1」は 1R～12R です").arg(race));
    const QChar kind = kindOf(f[2]);
    if (kind.isNull() || ByteLength(f[2]) > 6)
        return R::failure(QStringLiteral("券種「%1」がありません").arg(f[2]));
    const QString problem = combinationProblem(f[3], kind);
    if (!problem.isEmpty())
        return R::failure(QStringLiteral("組番「%1」: %2").arg(f[3], problem));
    if (!oddsOk(f[4]))
        return R::failure(QStringLiteral("オッズ「%1」が読めません").arg(f[4]));
    const auto stake = ParseAmount(f[5]);
    if (!stake || !isValidStake(*stake))
        return R::failure(QStringLiteral("金額「%1」: %2").arg(f[5], stakeRuleText()));
    PendingBet b = normalizedBet({f[0], f[1], f[2], f[3], f[4]}, rules);
    b.Amount = amountFieldText(*stake);
    return b;
}

bool PendingBetFile::endsWithLineEnd() const {
    return bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
}

Result<PendingBetFile> ParsePendingBets(const QString& path, QByteArray bytes, NormalizeRules rules) {
    using R = Result<PendingBetFile>;
    PendingBetFile file;
    file.exists = true;
    file.bytes = std::move(bytes);
    const QString text = fromSjis(file.bytes);
    for (const QStringView line : LinesOf(text))
        file.lines << line.toString();
    const bool utf8 = isMultiByteUtf8(file.bytes);
    file.bets.reserve(static_cast<size_t>(std::min<qsizetype>(file.lines.size(), kPendingBetTableSize)));
    for (qsizetype i = 0; i < file.lines.size(); ++i) {
        const QString& line = file.lines[i];
        if (utf8 && !isAscii(QStringView(line)))
            return R::failure(badLineMessage(
                path, i + 1, line, QStringLiteral("UTF-8 で保存されています。Shift-JIS で保存し直してください")));
        if (line.contains(QChar(0xFFFD)))
            return R::failure(badLineMessage(path, i + 1, line, QStringLiteral("Shift-JIS ではない文字があります")));
        if (isBlankLine(line))
            continue;
        auto bet = ParsePendingBetLine(line, rules);
        if (!bet.ok())
            return R::failure(badLineMessage(path, i + 1, line, bet.message()));
        if (file.bets.size() >= static_cast<size_t>(kPendingBetTableSize))
            return R::failure(QStringLiteral("%1: ").arg(QDir::toNativeSeparators(path)) +
                              tooManyBetsMessage(kPendingBetTableSize + 1, kPendingBetTableSize));
        file.bets.push_back(std::move(bet.value()));
    }
    return file;
}

Result<PendingBetFile> ReadPendingBets(const QString& path, NormalizeRules rules) {
    if (!QFileInfo::exists(path) && !isFileEntry(path) && !QFileInfo(path).isSymLink())
        return PendingBetFile{};
    auto bytes = readOutsideFile(path, kMaxPendingBetFile);
    if (!bytes.ok())
        return bytes.status();
    return ParsePendingBets(path, std::move(bytes.value()), rules);
}

QString PendingBetLineText(const PendingBet& b, BetLineForm form) {
    QString line;
    line.reserve(48);
    line += b.Venue;
    line += u',';
    line += b.Race;
    line += u',';
    if (form == BetLineForm::Output) {
        line += trimBlanks(b.BetType);
        line += u',';
        line += b.Combination;
        line += u',';
        line += b.Odds;
        line += u',';
        const auto stake = b.stake();
        const QString digits = stake ? stake->digits() : trimBlanks(b.Amount);
        line += (digits.size() > 5 ? digits : rightPart(digits, 5)) + u'円';
        return line;
    }
    line += LeftBytes(b.BetType, 6);
    line += u',';
    line += b.Combination;
    line += u',';
    line += b.Odds;
    line += u',';
    line += b.Amount;
    return line;
}

QString pendingBetName(const PendingBet& b) {
    return trimBlanks(b.Venue) + u' ' + trimBlanks(b.Race) + u' ' + trimBlanks(b.BetType) + u' ' +
           trimBlanks(b.Combination);
}

Result<QByteArray> PendingBetBytes(const PendingBetTable& table, BetLineForm form) {
    if (table.size() > static_cast<size_t>(kPendingBetTableSize))
        return Result<QByteArray>::failure(tooManyBetsMessage(static_cast<int>(table.size()), kPendingBetTableSize));
    QString text;
    text.reserve(static_cast<qsizetype>(table.size()) * 40);
    for (const PendingBet& b : table) {
        const QString line = PendingBetLineText(b, form);
        // Every line written must read back as the same bet: nothing is cut or lost on the way.
        const auto back = ParsePendingBetLine(line);
        if (!back.ok())
            return Result<QByteArray>::failure(pendingBetName(b) + QStringLiteral(" は書き込めません（") +
                                               back.message() +
                                               QStringLiteral("）。何も書き込まずに処理を中止します！"));
        text += line;
        text += QStringLiteral("\r\n");
    }
    return toSjis(text);
}

Status WritePendingBets(const QString& path, const PendingBetTable& table) {
    const auto bytes = PendingBetBytes(table);
    if (!bytes.ok())
        return bytes.status();
    return SafeSave::save(path, *bytes);
}

Status AppendPendingBets(const QString& path, const PendingBetTable& bets, BetLineForm form) {
    const auto existing = ReadPendingBets(path);
    if (!existing.ok())
        return existing.status();
    const size_t total = existing->bets.size() + bets.size();
    if (total > static_cast<size_t>(kPendingBetTableSize))
        return Status::failure(tooManyBetsMessage(static_cast<int>(total), kPendingBetTableSize) +
                               QStringLiteral("（追加しようとした %1 件は書き込んでいません）").arg(bets.size()));
    auto bytes = PendingBetBytes(bets, form);
    if (!bytes.ok())
        return bytes.status();
    if (bets.empty())
        return {};
    QByteArray out = existing->endsWithLineEnd() ? QByteArray() : QByteArray("\r\n");
    out += *bytes;
    return SafeSave::append(path, out);
}

}  // namespace zm
