#include "export/contest_readers.h"

#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"

#include <QRegularExpression>
#include <array>
#include <optional>

namespace zm {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Full-width digits and hyphens as their half-width forms, so a hand-edited post reads alike.
QString halfWidthDigits(QStringView line) {
    QString s = line.toString();
    for (QChar& c : s) {
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
        else if (c == u'－' || c == u'−')
            c = u'-';
    }
    return s;
}

// Reads the digits at pos (at most nine count, the rest are passed over); -1 when none.
int readNumber(const QString& s, qsizetype& pos) {
    if (pos >= s.size() || !isAsciiDigit(s[pos]))
        return -1;
    int value = 0;
    int digits = 0;
    while (pos < s.size() && isAsciiDigit(s[pos])) {
        if (digits < 9)
            value = value * 10 + (s[pos].unicode() - u'0');
        ++digits;
        ++pos;
    }
    return value;
}

void skipBlanks(const QString& s, qsizetype& pos) {
    while (pos < s.size() && (s[pos] == u' ' || s[pos] == u'　' || s[pos] == u'\t'))
        ++pos;
}

bool isPairType(ContestBetType type) {
    return type == ContestBetType::Bracket || type == ContestBetType::Quinella || type == ContestBetType::Wide;
}

// Numbers a selection of the type may hold.
bool selectionInRange(ContestBetType type, int a, int b) {
    if (type == ContestBetType::Bracket)
        return a >= 1 && a <= 8 && b >= 1 && b <= 8;
    if (!isPairType(type))
        return a >= 1 && a <= 18;
    return a >= 1 && a <= 18 && b >= 1 && b <= 18 && a != b;
}

// Collects the selections of one race entry, at most six of each type.
class RaceEntry {
public:
    RaceEntry(std::vector<ContestBet>& out, QString venue, int race) : out_(out), venue_(std::move(venue)), race_(race) {}

    void add(ContestBetType type, int a, int b, int stake) {
        if (race_ < 1 || race_ > 12 || !selectionInRange(type, a, b))
            return;
        int& n = taken_[static_cast<size_t>(type)];
        if (n >= kContestSelectionsPerType)
            return;
        ++n;
        out_.push_back(ContestBet{venue_, race_, type, a, isPairType(type) ? b : 0, stake});
    }

private:
    std::vector<ContestBet>& out_;
    QString venue_;
    int race_;
    std::array<int, 5> taken_{};
};

// Counts the lines examined since the last race entry.
class LineGuard {
public:
    // False once kContestLineGuard lines have passed without a race entry.
    bool examine() { return ++examined_ < kContestLineGuard; }
    void raceEntry() { examined_ = 0; }

private:
    int examined_ = 0;
};

// The venue of a text when it is exactly a name of the venue table; empty otherwise.
QString knownVenue(QStringView name) {
    if (name.isEmpty())
        return QString();
    for (int code = 0; code < 100; ++code) {
        const QString two = QString::number(code).rightJustified(2, u'0');
        const QString venue = VenueName(two);
        if (venue != u"？？" && venue == name)
            return venue;
    }
    return QString();
}

// Notes a race entry passed over for its venue.
void skipVenue(ContestSkips* skips, QStringView line) {
    if (!skips)
        return;
    if (skips->venueLines++ == 0)
        skips->firstVenueLine = line.toString();
}

// ---------------------------------------------------------------------------------------------
// The service contest text.

bool isMurHeader(QStringView line, QStringView day, QStringView softCode) {
    return line.size() >= 31 && line[7] == u'Ｒ' && line.sliced(9, 8) == day &&
           line.sliced(19, 4).compare(softCode, Qt::CaseInsensitive) == 0;
}

// The venue of an entry header: characters 3-4 (after "■ ", where the writer puts it), else
// characters 1-2 for a header that begins with the venue; empty when neither is a venue name.
QString murVenue(QStringView line) {
    QString venue = knownVenue(line.sliced(2, 2).trimmed());
    if (venue.isEmpty())
        venue = knownVenue(line.first(2));
    return venue;
}

// A selection line: the first number (or pair) after the type word, the stake before "円".
void readMurSelection(QStringView line, ContestBetType type, RaceEntry& entry) {
    const QString s = halfWidthDigits(line);
    qsizetype pos = 1;
    while (pos < s.size() && !isAsciiDigit(s[pos]))
        ++pos;
    const int a = readNumber(s, pos);
    if (a < 0)
        return;
    int b = 0;
    qsizetype after = pos;
    skipBlanks(s, after);
    if (after < s.size() && s[after] == u'-') {
        ++after;
        skipBlanks(s, after);
        b = readNumber(s, after);
        if (b < 0)
            return;
        pos = after;
    }
    int stake = 0;
    const qsizetype yen = s.indexOf(u'円', pos);
    if (yen > pos) {
        qsizetype start = yen;
        while (start > pos && isAsciiDigit(s[start - 1]))
            --start;
        qsizetype at = start;
        stake = std::max(0, readNumber(s, at));
    }
    entry.add(type, a, b, stake);
}

// ---------------------------------------------------------------------------------------------
// The DUEL text.

const QRegularExpression& duelHeaderPattern() {
    static const QRegularExpression re(QStringLiteral(
        "^(\\S+) (\\d{4})年 *\\S回 *\\S日目 *(\\d{1,2})月 *(\\d{1,2})日\\([^)]*\\) *\\[([^\\]]*)\\]"));
    return re;
}

// The venue text of a header of the day and code; nothing when the line is no such header.
std::optional<QString> duelHeaderVenue(QStringView line, QStringView day, QStringView softCode) {
    const auto m = duelHeaderPattern().match(line.toString());
    if (!m.hasMatch())
        return std::nullopt;
    const QString date = m.captured(2) + m.captured(3).rightJustified(2, u'0') + m.captured(4).rightJustified(2, u'0');
    if (date != day || m.capturedView(5).compare(softCode, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return m.captured(1);
}

bool isDuelSeparator(QStringView line) {
    if (line.isEmpty())
        return false;
    for (QChar c : line)
        if (c != u'-')
            return false;
    return true;
}

bool isDuelRaceLine(QStringView line) {
    return line.size() >= 3 && line[2] == u'R' && isAsciiDigit(line[1]) && (line[0] == u' ' || isAsciiDigit(line[0]));
}

QStringView slice(QStringView line, qsizetype from, qsizetype n) {
    if (from >= line.size())
        return {};
    return line.sliced(from, std::min(n, line.size() - from));
}

void readDuelRaceLine(QStringView line, const QString& venue, std::vector<ContestBet>& out) {
    RaceEntry entry(out, venue, static_cast<int>(Val(line.first(2))));
    entry.add(ContestBetType::Win, static_cast<int>(Val(slice(line, 3, 4))), 0, 0);
    for (int k = 0; k < 6; ++k) {
        const QStringView piece = slice(line, 7 + 6 * k, 6);
        if (piece.trimmed().isEmpty())
            continue;
        const qsizetype dash = piece.indexOf(u'-');
        if (dash >= 0) {
            entry.add(ContestBetType::Quinella, static_cast<int>(Val(piece.first(dash))),
                      static_cast<int>(Val(piece.sliced(dash + 1))), 0);
        } else {
            // A small-field pick: two one-digit horse numbers written as one number.
            const int code = static_cast<int>(Val(piece));
            if (code >= 11 && code <= 99)
                entry.add(ContestBetType::Quinella, code / 10, code % 10, 0);
        }
    }
}

using Lines = std::vector<QStringView>;

// Both formats are blocks of a race: a header line names the venue, and the lines after it that
// readBody takes (it returns the index of the first line it left) are the race's bets. A venue
// not in the venue table comes back empty: its bets are read but dropped, and the header counted
// among the skips. A text that goes kContestLineGuard lines without a header is refused.
template <class Header, class ReadBody>
Result<std::vector<ContestBet>> readRaceBlocks(QStringView text, ContestSkips* skips, const Header& header,
                                               const ReadBody& readBody) {
    const Lines lines = LinesOf(text);
    std::vector<ContestBet> bets;
    LineGuard guard;
    size_t i = 0;
    while (i < lines.size()) {
        const QStringView line = lines[i++];
        if (!guard.examine())
            return Result<std::vector<ContestBet>>::failure(contestLineGuardMessage());
        const std::optional<QString> venue = header(line);
        if (!venue)
            continue;
        guard.raceEntry();
        if (venue->isEmpty())
            skipVenue(skips, line);
        std::vector<ContestBet> ignored;
        i = readBody(lines, i, line, *venue, venue->isEmpty() ? ignored : bets);
    }
    return bets;
}

}  // namespace

QString contestLineGuardMessage() {
    return QStringLiteral("Ridge形式予想ファイルの格納ログが変です！　作者までご連絡ください。");
}

QChar contestBetTypeChar(ContestBetType type) {
    static constexpr char16_t chars[] = {u'単', u'複', u'枠', u'馬', u'ワ'};
    return QChar(chars[static_cast<size_t>(type)]);
}

bool contestBetTypeOf(QChar c, ContestBetType& type) {
    for (ContestBetType t : {ContestBetType::Win, ContestBetType::Place, ContestBetType::Bracket,
                             ContestBetType::Quinella, ContestBetType::Wide}) {
        if (contestBetTypeChar(t) == c) {
            type = t;
            return true;
        }
    }
    return false;
}

Result<std::vector<ContestBet>> readMurContestText(QStringView text, QStringView day, QStringView softCode,
                                                   ContestSkips* skips) {
    const auto header = [&](QStringView line) {
        return isMurHeader(line, day, softCode) ? std::optional<QString>(murVenue(line)) : std::nullopt;
    };
    return readRaceBlocks(text, skips, header, [](const Lines& lines, size_t i, QStringView head, const QString& venue,
                                                  std::vector<ContestBet>& out) {
        RaceEntry entry(out, venue, static_cast<int>(Val(head.sliced(5, 2))));
        ContestBetType type{};
        while (i < lines.size() && !lines[i].isEmpty() && contestBetTypeOf(lines[i][0], type))
            readMurSelection(lines[i++], type, entry);
        return i;
    });
}

Result<std::vector<ContestBet>> readDuelContestText(QStringView text, QStringView day, QStringView softCode,
                                                    ContestSkips* skips) {
    const auto header = [&](QStringView line) -> std::optional<QString> {
        if (const auto venue = duelHeaderVenue(line, day, softCode))
            return knownVenue(*venue);
        return std::nullopt;
    };
    return readRaceBlocks(text, skips, header, [](const Lines& lines, size_t i, QStringView, const QString& venue,
                                                  std::vector<ContestBet>& out) {
        for (; i < lines.size() && (isDuelSeparator(lines[i]) || isDuelRaceLine(lines[i])); ++i) {
            if (isDuelRaceLine(lines[i]))
                readDuelRaceLine(lines[i], venue, out);
        }
        return i;
    });
}

Result<std::vector<ContestBet>> readContestFile(QByteArrayView bytes, ContestFormat format, QStringView day,
                                                QStringView softCode, ContestSkips* skips) {
    const QString text = fromSjis(bytes);
    return format == ContestFormat::Mur ? readMurContestText(text, day, softCode, skips)
                                        : readDuelContestText(text, day, softCode, skips);
}

}  // namespace zm
