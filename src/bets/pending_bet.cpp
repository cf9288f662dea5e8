#include "bets/pending_bet.h"

#include "app/safe_save.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include <QFile>
#include <QLocale>

namespace zm {

namespace {

const QString kBlanks8 = QStringLiteral("        ");

}  // namespace

QString PendingBetPath(const AppPaths& paths, const QString& day) {
    return paths.DataDir + QStringLiteral("~B") + day + QStringLiteral(".TXT");
}

QString PendingBetBackupPath(const AppPaths& paths, const QString& day) {
    return paths.DataDir + QStringLiteral("~B") + day + QStringLiteral(".BAK");
}

QString trimBlanks(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.sliced(b, e - b).toString();
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

BetLine ReadBetLine(QStringView line) {
    BetLine f;
    qsizetype start = 0;
    for (int k = 0; k < 6; ++k) {
        if (start > line.size())
            break;
        const qsizetype comma = k < 5 ? line.indexOf(u',', start) : -1;
        const qsizetype end = comma < 0 ? line.size() : comma;
        f[static_cast<size_t>(k)] = trimBlanks(line.sliced(start, end - start));
        if (comma < 0)
            break;
        start = comma + 1;
    }
    return f;
}

QStringList splitLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QString& l : lines) {
        if (l.endsWith(u'\r'))
            l.chop(1);
    }
    return lines;
}

int BetFileText::betCount() const {
    int n = 0;
    for (const QString& l : lines) {
        if (!ReadBetLine(l)[0].isEmpty())
            ++n;
    }
    return n;
}

BetFileText ReadBetFile(const QString& path) {
    BetFileText f;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return f;
    f.exists = true;
    f.bytes = file.readAll();
    f.lines = splitLines(fromSjis(f.bytes));
    return f;
}

PendingBet NormalizeBet(const BetLine& fields, NormalizeRules rules) {
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
    const QString amount = fields[5];  // already trimmed
    b.Amount = amount.size() > F::Amount.width ? amount : rightPart(kBlanks8 + amount, F::Amount.width);
    return b;
}

PendingBetTable NormalizeAll(const BetFileText& file, NormalizeRules rules) {
    PendingBetTable table;
    table.reserve(static_cast<size_t>(file.lines.size()));
    for (const QString& line : file.lines) {
        const BetLine f = ReadBetLine(line);
        if (!f[0].isEmpty())
            table.push_back(NormalizeBet(f, rules));
    }
    return table;
}

QString tooManyBetsMessage(int bets, int limit) {
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("保留ＢＥＴが%1件あります。この処理で扱えるのは%2件までです。処理を中止します！")
        .arg(c.toString(bets), c.toString(limit));
}

QByteArray WriteAllBytes(const PendingBetTable& table) {
    QString text;
    text.reserve(static_cast<qsizetype>(table.size()) * 40);
    for (const PendingBet& b : table) {
        text += b.Venue;
        text += u',';
        text += b.Race;
        text += u',';
        text += LeftBytes(b.BetType, 6);
        text += u',';
        text += b.Combination;
        text += u',';
        text += b.Odds;
        text += u',';
        text += b.Amount;
        text += QStringLiteral("\r\n");
    }
    return toSjis(text);
}

Status WriteAll(const QString& path, const PendingBetTable& table) {
    return saveFile(path, WriteAllBytes(table));
}

}  // namespace zm
