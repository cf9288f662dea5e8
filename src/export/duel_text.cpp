#include "export/duel_text.h"

#include "app/context.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "export/export_text.h"
#include "import/day_files.h"
#include "import/work_folder.h"
#include "predict/predict_day.h"

namespace zm {

namespace {

// Two digits of a month or day with a leading "0" turned into a blank.
QString blankPaddedTwo(QStringView digits) {
    QString s = digits.toString();
    if (s.startsWith(u'0'))
        s[0] = u' ';
    return s;
}

MeetingEntry meetingOf(const PredictionRecord& rec, const std::vector<MeetingEntry>& meetings) {
    for (const MeetingEntry& m : meetings) {
        if (m.venueCode == rec.venueCode)
            return m;
    }
    MeetingEntry m;
    m.venueCode = rec.venueCode;
    m.date = rec.raceDate;
    m.kaiDigit = QString::number(rec.meeting).right(1);
    m.nichiDigit = QString::number(rec.dayNo).right(1);
    m.weekday = DateFromYmd(rec.raceDate).isValid() ? WeekdayChar(rec.raceDate) : QString();
    return m;
}

// Both numbers of a pick within 1..n.
bool pickFits(int a, int b, int n) {
    return a >= 1 && a <= n && b >= 1 && b <= n;
}

int slotsFor(int n) {
    if (n == 8)
        return 1;
    if (n == 9)
        return 4;
    if (n == 10)
        return 5;
    return n >= 11 ? 6 : 0;
}

}  // namespace

QString duelVenueHeader(const MeetingEntry& m, const QString& version) {
    QString s = VenueName(m.venueCode);
    s += u' ' + m.date.left(4) + u'年';
    s += QStringLiteral("  ") + m.kaiDigit + u'回';
    s += QStringLiteral("  ") + m.nichiDigit + QStringLiteral("日目");
    s += u' ' + blankPaddedTwo(QStringView(m.date).mid(4, 2)) + u'月';
    s += u' ' + blankPaddedTwo(QStringView(m.date).mid(6, 2)) + u'日';
    s += u'(' + m.weekday.trimmed() + u')';
    s += QStringLiteral(" [") + kDuelSoftCode + u']';
    s += QStringLiteral(" ゼノゼノＭＵＲ Ver") + version;
    return PadBytes(s, kDuelLineBytes);
}

bool duelTakesRace(const PredictionRecord& rec) {
    return rec.winPicks[0].code >= 1 && rec.runnerCount >= 8;
}

QString duelRaceLine(const PredictionRecord& rec) {
    const int n = rec.runnerCount;
    QString s = twoCharNumber(rec.raceNo) + u'R' + QStringLiteral("  ") + twoCharNumber(rec.winPicks[0].code);
    const int slotCount = slotsFor(n);
    for (int k = 0; k < 6; ++k) {
        QString piece(6, u' ');
        if (k < slotCount) {
            if (n == 8) {
                const int code = rec.smallPicks[static_cast<size_t>(k)].code;
                if (pickFits(code / 10, code % 10, n))
                    piece = QStringLiteral("    ") + twoCharNumber(code);
            } else {
                const int code = rec.quinellaPicks[static_cast<size_t>(k)].code;
                if (pickFits(code / 100, code % 100, n))
                    piece = u' ' + twoCharNumber(code / 100) + u'-' + twoCharNumber(code % 100);
            }
        }
        s += piece;
    }
    return PadBytes(PadBytes(s, 45) + u'|', kDuelLineBytes);
}

QStringList duelTextLines(const std::vector<PredictionRecord>& records, const std::vector<MeetingEntry>& meetings,
                          const QString& version) {
    const QString separator(kDuelLineBytes, u'-');
    QStringList lines;
    QString venue;
    int blocks = 0;
    for (const PredictionRecord& rec : records) {
        if (!duelTakesRace(rec))
            continue;
        if (blocks == 0 || rec.venueCode != venue) {
            if (blocks > 0)
                lines << QString();
            lines << separator << duelVenueHeader(meetingOf(rec, meetings), version) << separator;
            venue = rec.venueCode;
            ++blocks;
        }
        lines << duelRaceLine(rec);
    }
    lines << QString() << QString();
    return lines;
}

ExportFile DuelTextFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set) {
    const QString day = imported.date;
    const QString out = ctx.settings.OutPutDir;
    const auto records = readPredictionFile(dayFileToRead(set, predictionFilePath(ctx.paths.DataDir, day)));
    if (ctx.BatchRequested) {
        const QString path = out + QStringLiteral("Duel.TXT");
        const QStringList lines = records ? duelTextLines(*records, imported.meetings, programVersion()) : QStringList();
        return ExportFile(path, crlfLines(lines), true);
    }
    const QString path = out + QStringLiteral("W") + day + QStringLiteral(".TXT");
    if (!records)
        return ExportFile(path, QByteArray());
    return ExportFile(path, crlfLines(duelTextLines(*records, imported.meetings, programVersion())));
}

}  // namespace zm
