#include "pat/pat_log.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/work_folder.h"
#include "pat/pat_files.h"
#include "pat/pat_format.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <cmath>

namespace zm {

namespace {

QByteArray readFile(const QString& path, qint64 length) {
    return readPatFile(path, length);
}

// The day's ".SEI" file as it stands: empty when there is none, a message when something other
// than a readable result file is at its name.
Result<QByteArray> readSeiFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return QByteArray();
    return readOutsideFile(path, kMaxSeiFile);
}

// "#,###,##0": digits grouped by thousands, "0" for zero.
QString grouped(double value) {
    const double r = std::round(value);
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(static_cast<qlonglong>(r));
}

// Vote-log helpers.
QString typeName(const QString& code) {
    static const char16_t* const kNames[] = {u"単勝", u"複勝", u"枠連", u"馬連", u"WIDE"};
    const int k = code.size() == 1 ? code[0].unicode() - u'1' : -1;
    return k >= 0 && k < 5 ? QString::fromUtf16(kNames[k]) : QStringLiteral("？？");
}

QString kindOf(const QString& code) {
    static const char16_t* const kKinds[] = {u"単", u"複", u"枠", u"馬", u"ワ"};
    const int k = code.size() == 1 ? code[0].unicode() - u'1' : -1;
    return k >= 0 && k < 5 ? QString::fromUtf16(kKinds[k]) : QString();
}

// The venue letter of a JRA venue number: its last digit, "10" giving "A".
QString jraVenueLetter(const QString& venueNo) {
    if (Val(venueNo) == 10)
        return QStringLiteral("A");
    return venueNo.isEmpty() ? QString() : QString(venueNo.back());
}

QString moneyText(Amount yen) { return yen.display() + u'円'; }

// Right-aligned in width bytes, never cut (amounts grow the line instead).
QString rightNoCut(const QString& text, int width) {
    const int n = ByteLength(text);
    return n >= width ? text : QString(width - n, u' ') + text;
}

const QString kRule = QStringLiteral("+--+----+---+------+-----+------+-------+-----+---------+----------");

// A failure when the PAT folder is not set or is not a folder.
Status patFolderProblem(const AppContext& ctx) {
    if (QFileInfo(ctx.settings.PatDir).isDir())
        return {};
    return Status::warning(patFolderMissingMessage(ctx.settings.PatDir));
}

// PAT's files of the pattern among the names of its folder; the message when there are none.
Result<QStringList> logFiles(const AppContext& ctx, const FolderNames& names, const QString& pattern,
                             const QString& message) {
    if (const Status folder = patFolderProblem(ctx); !folder)
        return folder;
    const QStringList files = patFiles(names, pattern);
    if (files.isEmpty())
        return Status::warning(message);
    return files;
}

Result<QStringList> logFiles(const AppContext& ctx, const QString& pattern, const QString& message) {
    return logFiles(ctx, FolderNames(ctx.settings.PatDir), pattern, message);
}

}  // namespace

QString patNotSetMessage() {
    return QStringLiteral("ＰＡＴ利用の有無あるいはＰＡＴの種類が指定されていません。\r\n"
                          "メニューバーの［ｵﾌﾟｼｮﾝ］→［ＰＡＴの設定］で選択してください。\r\n") +
           patSettingsHint();
}

QString resultsKeptMessage(const QString& day, int found, const QString& path, int held) {
    const QString date = day.left(4) + u'/' + day.mid(4, 2) + u'/' + day.mid(6, 2);
    QString m = QStringLiteral("ＰＡＴの競争成績ファイルには ") + date + QStringLiteral(" の結果が") +
                QString::number(found) + QStringLiteral("レース分しかありません。");
    if (held > 0)
        m += QStringLiteral("\r\n「") + path + QStringLiteral("」（") + QString::number(held) +
             QStringLiteral("レース分）はそのまま残します。");
    return m;
}

QStringList patFiles(const QString& folder, const QString& pattern) {
    return patFiles(FolderNames(folder), pattern);
}

QStringList patFiles(const FolderNames& names, const QString& pattern) {
    QStringList paths;
    for (const QString& name : names.matching(pattern))
        paths << names.folder() + name;
    return paths;
}

QString referenceDay(const QString& currentRaceDate) {
    return currentRaceDate.isEmpty() ? QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) : currentRaceDate;
}

QString DayStake::dayText() const { return day.left(4) + u'/' + day.mid(4, 2) + u'/' + day.mid(6, 2); }
QString DayStake::stakeText() const { return moneyText(stake); }

Result<DayStake> ShowDayStake(const AppContext& ctx, const QString& day) {
    const PatFormat* format = patFormatOf(ctx.settings.Ver);
    if (!format)
        return Status::warning(patNotSetMessage());
    const auto files = logFiles(ctx, format->logPattern(), format->noLogFilesMessage());
    if (!files)
        return files.status();
    DayStake out;
    out.day = day;
    out.remaining = format->betsPerDay();
    for (const QString& path : *files)
        format->addLogStake(readFile(path, format->logLength()), out);
    return out;
}

void sortSeiRecords(std::vector<SeiRecord>& records) {
    const size_t n = records.size();
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            if (records[i].number(SeiRecord::key) > records[j].number(SeiRecord::key))
                std::swap(records[i], records[j]);
        }
    }
}

QString seiPath(const QString& dataDir, const QString& day) { return dataDir + day + QStringLiteral(".SEI"); }

namespace {

// The day's races of PAT's result files, sorted, at most 50.
std::vector<SeiRecord> condenseDay(const QStringList& files, const QString& day, const PatFormat& format) {
    std::vector<SeiRecord> records;
    for (const QString& path : files) {
        if (records.size() >= 50)
            break;
        if (auto s = format.seiFromResult(readFile(path, format.resultLength()), day))
            records.push_back(std::move(*s));
    }
    sortSeiRecords(records);
    return records;
}

Result<std::vector<SeiRecord>> buildResults(const AppContext& ctx, const QString& day, const PatFormat& format) {
    const auto files = logFiles(ctx, QStringLiteral("KS-?????.JRA"), kNoResultFiles);
    if (!files)
        return files.status();
    std::vector<SeiRecord> records = condenseDay(*files, day, format);
    // Results once kept are never replaced by fewer: PAT's folder may no longer hold the day.
    const QString path = seiPath(ctx.paths.DataDir, day);
    const Result<QByteArray> old = readSeiFile(path);
    if (!old.ok())
        return old.status();
    const int held = static_cast<int>(seiRecords(*old).size());
    if (records.empty() || static_cast<int>(records.size()) < held)
        return Status::warning(resultsKeptMessage(day, static_cast<int>(records.size()), path, held));
    QByteArray bytes;
    for (const SeiRecord& s : records)
        bytes += s.bytes();
    if (const Status saved = SafeSave::save(path, bytes); !saved)
        return saved;
    return records;
}

Result<ResultsRefresh> refreshResults(const AppContext& ctx, const QString& day, const PatFormat& format) {
    const QString folder = ctx.settings.PatDir;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return ResultsRefresh::NothingNew;
    const QStringList files = patFiles(folder, QStringLiteral("KS-?????.JRA"));
    if (files.isEmpty())
        return ResultsRefresh::NothingNew;
    const QString path = seiPath(ctx.paths.DataDir, day);
    const QFileInfo sei(path);
    if (sei.isSymLink() || (sei.exists() && !sei.isFile()))
        return ResultsRefresh::NothingNew;  // not a file of the program's: the vote log names it
    if (sei.exists()) {
        QDateTime newest;
        for (const QString& ks : files)
            newest = std::max(newest, QFileInfo(ks).lastModified());
        if (sei.lastModified() >= newest)
            return ResultsRefresh::UpToDate;
    }
    const std::vector<SeiRecord> records = condenseDay(files, day, format);
    if (records.empty())
        return ResultsRefresh::NothingNew;
    const Result<QByteArray> old = readSeiFile(path);
    if (!old.ok())
        return ResultsRefresh::NothingNew;  // the vote log names what is at the file's place
    const std::vector<SeiRecord> held = seiRecords(*old);
    if (records.size() < held.size())
        return ResultsRefresh::NothingNew;
    QByteArray bytes;
    for (const SeiRecord& s : records)
        bytes += s.bytes();
    if (bytes == *old)
        return ResultsRefresh::UpToDate;
    if (const Status saved = SafeSave::save(path, bytes); !saved)
        return saved;
    return ResultsRefresh::Written;
}

}  // namespace

Result<ResultsRefresh> RefreshResults(const AppContext& ctx, const QString& day) {
    if (!ctx.settings.PatOpt)
        return ResultsRefresh::NothingNew;
    const PatFormat* format = patFormatOf(ctx.settings.Ver);
    if (!format || !format->hasResults())
        return ResultsRefresh::NothingNew;
    return refreshResults(ctx, day, *format);
}

Result<std::vector<SeiRecord>> BuildResults(const AppContext& ctx, const PatFormat& format, const QString& day) {
    if (!format.hasResults())
        return Status::warning(kResults31Refused);
    return buildResults(ctx, day, format);
}

Result<std::vector<SeiRecord>> BuildResults(const AppContext& ctx, const QString& day) {
    const PatFormat* format = ctx.settings.PatOpt ? patFormatOf(ctx.settings.Ver) : nullptr;
    if (!format)
        return Status::warning(patNotSetMessage());
    return BuildResults(ctx, *format, day);
}

QStringList resultsColumns() {
    return {QStringLiteral("場所"), QStringLiteral("Ｒ"),    QStringLiteral("単"),    QStringLiteral("払戻"),
            QStringLiteral("複1"),  QStringLiteral("払戻"),  QStringLiteral("複2"),   QStringLiteral("払戻"),
            QStringLiteral("複3"),  QStringLiteral("払戻"),  QStringLiteral("枠連"),  QStringLiteral("払戻"),
            QStringLiteral("馬連"), QStringLiteral("払戻"),  QStringLiteral("返還馬"), QStringLiteral("ﾜｲﾄﾞ1"),
            QStringLiteral("払戻"), QStringLiteral("ﾜｲﾄﾞ2"), QStringLiteral("払戻"),  QStringLiteral("ﾜｲﾄﾞ3"),
            QStringLiteral("払戻")};
}

QStringList resultsRow(const SeiRecord& s) {
    auto t = [&](const auto& f, int i) { return s.text(f, i).trimmed(); };
    auto pair = [](const QString& p) {
        return p.trimmed().isEmpty() ? QString() : p.left(2) + u'-' + p.mid(2);
    };
    QStringList returned;
    for (int i = 1; i <= 5; ++i) {
        if (s.number(SeiRecord::returned, i) > 0)
            returned << t(SeiRecord::returned, i);
    }
    QStringList row{s.text(SeiRecord::venueName).trimmed(), s.text(SeiRecord::raceNo),
                    t(SeiRecord::winHorses, 1), t(SeiRecord::winPayouts, 1)};
    for (int i = 1; i <= 3; ++i)
        row << t(SeiRecord::placeHorses, i) << t(SeiRecord::placePayouts, i);
    const QString bracket = t(SeiRecord::bracketPairs, 1);
    row << (bracket.size() == 2 ? QString(bracket[0]) + u'-' + bracket[1] : bracket) << t(SeiRecord::bracketPayouts, 1);
    row << pair(s.text(SeiRecord::quinellaPairs, 1)) << t(SeiRecord::quinellaPayouts, 1);
    row << returned.join(u',');
    for (int i = 1; i <= 3; ++i)
        row << pair(s.text(SeiRecord::widePairs, i)) << t(SeiRecord::widePayouts, i);
    return row;
}

std::vector<SeiRecord> seiRecords(QByteArrayView file) {
    std::vector<SeiRecord> out;
    for (qsizetype at = 0; at + SeiRecord::kLength <= file.size(); at += SeiRecord::kLength)
        out.emplace_back(file.sliced(at, SeiRecord::kLength));
    return out;
}

JudgeResult JudgeBet(const std::vector<SeiRecord>& sei, const QString& dayOfMonth, const QString& venueNo,
                     const QString& raceNo, const QString& typeCode, const QString& first, const QString& second) {
    const double key = Val(dayOfMonth + venueNo + twoDigits(Val(raceNo)));
    const SeiRecord* race = nullptr;
    for (const SeiRecord& s : sei) {
        if (s.number(SeiRecord::key) == key) {
            race = &s;
            break;
        }
    }
    if (!race || typeCode.size() != 1 || typeCode[0] < u'1' || typeCode[0] > u'5')
        return {};
    auto returnedHorse = [&](double horse) {
        for (int i = 1; i <= 5; ++i) {
            if (horse > 0 && race->number(SeiRecord::returned, i) == horse)
                return true;
        }
        return false;
    };
    const double h1 = Val(first);
    const double h2 = Val(second);
    const QChar code = typeCode[0];
    if (code == u'1' || code == u'2') {
        if (returnedHorse(h1))
            return {Judgement::Refund, 0};
        const bool win = code == u'1';
        const auto& horses = win ? SeiRecord::winHorses : SeiRecord::placeHorses;
        const auto& payouts = win ? SeiRecord::winPayouts : SeiRecord::placePayouts;
        for (int i = 1; i <= (win ? 2 : 5); ++i) {
            if (h1 > 0 && race->number(horses, i) == h1)
                return {Judgement::Hit, race->number(payouts, i)};
        }
        return {Judgement::Miss, 0};
    }
    if (code != u'3' && (returnedHorse(h1) || returnedHorse(h2)))
        return {Judgement::Refund, 0};
    // A pair is the same bet whichever number comes first; every stored pair counts (a dead heat
    // stores a second quinella or bracket pair and more than three wide pairs).
    QString wanted;
    QString reversed;
    const TextField* pairs = nullptr;
    const DigitsField* payouts = nullptr;
    int count = 2;
    if (code == u'3') {
        const QString a = QString::number(static_cast<qlonglong>(h1));
        const QString b = QString::number(static_cast<qlonglong>(h2));
        wanted = a + b;
        reversed = b + a;
        pairs = &SeiRecord::bracketPairs;
        payouts = &SeiRecord::bracketPayouts;
    } else {
        wanted = twoDigits(h1) + twoDigits(h2);
        reversed = twoDigits(h2) + twoDigits(h1);
        pairs = code == u'4' ? &SeiRecord::quinellaPairs : &SeiRecord::widePairs;
        payouts = code == u'4' ? &SeiRecord::quinellaPayouts : &SeiRecord::widePayouts;
        count = code == u'4' ? 2 : 5;
    }
    if (h1 <= 0 || h2 <= 0)
        return {Judgement::Miss, 0};
    for (int i = 1; i <= count; ++i) {
        const QString stored = race->text(*pairs, i);
        if (stored == wanted || stored == reversed)
            return {Judgement::Hit, race->number(*payouts, i)};
    }
    return {Judgement::Miss, 0};
}

QString judgementText(Judgement j) {
    switch (j) {
    case Judgement::Hit:
        return QStringLiteral("的中！");
    case Judgement::Miss:
        return QStringLiteral("ハズレ");
    case Judgement::Refund:
        return QStringLiteral("返還");
    case Judgement::Unjudged:
        break;
    }
    return QStringLiteral("未判定");
}

QString VoteLog::investmentText() const { return moneyText(investment); }
QString VoteLog::returnsText() const { return moneyText(returns); }
QString VoteLog::balanceText() const { return moneyText(Amount::yen(returns.value() - investment.value())); }
QString VoteLog::rateText() const {
    if (investment.isZero())
        return QStringLiteral("0.0%");
    const double rate =
        std::round(static_cast<double>(returns.value()) / static_cast<double>(investment.value()) * 100 * 10) / 10;
    const double whole = std::trunc(rate);
    const int tenth = static_cast<int>(std::llround(std::fabs(rate - whole) * 10));
    return grouped(whole) + u'.' + QString::number(tenth) + u'%';
}

namespace {

// The odds file of a race of the day. PAT keeps one file per race and meeting day (the day
// digit in its name), so the day's file is the one of the day's meeting day when the day's race
// file names it, else the one whose header carries the day; none when neither is found.
class DayOddsFiles {
public:
    DayOddsFiles(AppContext& ctx, const FolderNames& folder, QString day)
        : ctx_(ctx), folder_(folder), day_(std::move(day)) {}

    QString of(const QString& prefix, const QString& venueNo, const QString& race) {
        const QString key = prefix + venueNo + race;
        if (auto it = found_.find(key); it != found_.end())
            return *it;
        const QString path = lookUp(prefix, venueNo, race);
        found_.insert(key, path);
        return path;
    }

private:
    QString lookUp(const QString& prefix, const QString& venueNo, const QString& race) {
        const QString name = prefix + jraVenueLetter(venueNo) + u'?' + PatRaceLetter(race) + QStringLiteral(".JRA");
        const QString nichi = nichiOf(JraToServiceCode(venueNo));
        const QStringList candidates = patFiles(folder_, name);
        QString byName;
        if (!nichi.isEmpty()) {
            const QString exact = QString(name).replace(u'?', nichi.right(1));
            for (const QString& path : candidates) {
                if (QFileInfo(path).fileName().compare(exact, Qt::CaseInsensitive) == 0)
                    byName = path;
            }
        }
        // A file that names another day is never the day's, whatever its name says.
        auto dayOf = [](const QString& path) { return patFileDay(readPatFile(path, 8)); };
        if (!byName.isEmpty()) {
            const QString day = dayOf(byName);
            if (day == day_ || !DateFromYmd(day).isValid())
                return byName;
        }
        for (const QString& path : candidates) {
            if (dayOf(path) == day_)
                return path;
        }
        return QString();
    }

    QString nichiOf(const QString& venueCode) {
        if (venueCode.isEmpty())
            return QString();
        if (auto it = nichi_.find(venueCode); it != nichi_.end())
            return *it;
        QString nichi = FindNichi(ctx_, day_, venueCode);
        if (Val(nichi) == 0)
            nichi.clear();
        nichi_.insert(venueCode, nichi);
        return nichi;
    }

    AppContext& ctx_;
    const FolderNames& folder_;
    QString day_;
    QHash<QString, QString> found_;
    QHash<QString, QString> nichi_;
};

// The logs of the generations with result files share one layout.
// PAT's folder may hold a season of files: it is listed once for the logs and every odds file.
Result<VoteLog> voteLog(AppContext& ctx, const QString& day, const PatFormat& format, const FolderNames& patFolder) {
    const auto files = logFiles(ctx, patFolder, format.logPattern(), format.noLogFilesMessage());
    if (!files)
        return files.status();
    VoteLog log;
    log.day = day;
    const Result<QByteArray> seiFile = readSeiFile(seiPath(ctx.paths.DataDir, day));
    if (!seiFile.ok())
        return seiFile.status();
    const std::vector<SeiRecord> sei = seiRecords(*seiFile);
    DayOddsFiles oddsFiles(ctx, patFolder, day);
    for (const QString& path : *files) {
        const Lg95Record lg(readFile(path, format.logLength()));
        if (lg.text(Lg95Record::year) + lg.text(Lg95Record::month) + lg.text(Lg95Record::day) != day)
            continue;
        for (int e = 1; e <= 50 && log.rows.size() < 1024; ++e) {
            auto f = [&](const auto& field) { return lg.text(Lg95Record::entries.inEntry(e, field)); };
            if (Val(f(Lg95Record::state)) != 1)
                continue;
            VoteRow row;
            row.number = static_cast<int>(log.rows.size()) + 1;
            row.numberText = QString::number(row.number).rightJustified(3, u'0');
            const QString code = f(Lg95Record::betType);
            const QString venueNo = f(Lg95Record::venue);
            row.venue = JraVenueName(venueNo);
            row.race = f(Lg95Record::raceNo);
            row.type = typeName(code);
            const QString first = f(Lg95Record::first);
            const QString second = f(Lg95Record::second);
            row.combination = code == u"1" || code == u"2" ? first : first + u'-' + second;
            const QString kind = kindOf(code);
            if (!kind.isEmpty()) {
                const QString prefix = readsQuinellaFile(kind) ? kQuinellaPrefix : kWinPlacePrefix;
                const QString odds = oddsFiles.of(prefix, venueNo, row.race);
                QString combination = first;
                if (kind == u"枠")
                    combination = first.trimmed() + u'-' + second.trimmed();
                else if (readsQuinellaFile(kind))
                    combination = twoDigits(Val(first)) + twoDigits(Val(second));
                if (!odds.isEmpty())
                    row.odds = format.readBetOdds(odds, kind, combination).trimmed();
            }
            const auto units = static_cast<std::int64_t>(Val(f(Lg95Record::stake)));
            row.stake = Amount::yen(units * 100);
            row.stakeText = row.stake.display();
            const JudgeResult judged =
                JudgeBet(sei, day.mid(6, 2), venueNo, row.race, code, first, second);
            row.judgement = judged.judgement;
            row.judgementText = judgementText(judged.judgement);
            row.payout = Amount::yen(static_cast<std::int64_t>(judged.payout));
            row.payoutText = judged.judgement == Judgement::Hit ? row.payout.display() : QString();
            row.returned = judged.judgement == Judgement::Hit      ? Amount::yen(row.payout.value() * units)
                           : judged.judgement == Judgement::Refund ? row.stake
                                                                   : Amount();
            row.returnText = row.returned.display();
            row.remark = f(Lg95Record::saleKind) == u"2" ? QStringLiteral("前売り") : QString();
            log.investment += row.stake;
            log.returns += row.returned;
            log.rows.push_back(std::move(row));
        }
    }
    return log;
}

// Only the generations with result files have a vote log to judge.
Result<VoteLog> judgedVoteLog(AppContext& ctx, const QString& day, const PatFormat& format, const FolderNames& patFolder) {
    if (!format.hasResults())
        return Status::warning(kVoteLog31Refused);
    return voteLog(ctx, day, format, patFolder);
}

}  // namespace

Result<VoteLog> ShowVoteLog(AppContext& ctx, const PatFormat& format, const QString& day) {
    return judgedVoteLog(ctx, day, format, FolderNames(ctx.settings.PatDir));
}

Result<VoteLog> ShowVoteLog(AppContext& ctx, const QString& day) {
    return ShowVoteLog(ctx, day, FolderNames(ctx.settings.PatOpt ? ctx.settings.PatDir : QString()));
}

Result<VoteLog> ShowVoteLog(AppContext& ctx, const QString& day, const FolderNames& patFolder) {
    const PatFormat* format = ctx.settings.PatOpt ? patFormatOf(ctx.settings.Ver) : nullptr;
    if (!format)
        return Status::warning(patNotSetMessage());
    return judgedVoteLog(ctx, day, *format, patFolder);
}

QString voteLogText(const VoteLog& log) {
    const QString crlf = QStringLiteral("\r\n");
    QString out = kRule + crlf;
    out += QStringLiteral(" № 場所   R  式別   買目   Odds    購入  判定  払戻金額    備考   ") + crlf;
    out += kRule + crlf;
    for (const VoteRow& r : log.rows) {
        if (r.number <= 0)
            break;
        out += u' ' + r.numberText + u' ' + r.venue + u' ' + LeftBytes(r.race + QStringLiteral("  "), 2) +
               QStringLiteral("R ") + PadBytes(r.type, 6) + u' ' + rightNoCut(r.combination, 5) + u' ' +
               rightNoCut(r.odds, 6) + u' ' + rightNoCut(r.stakeText, 7) + u' ' + PadBytes(r.judgementText, 6) +
               u' ' + rightNoCut(r.returnText, 8) + u' ' + PadBytes(r.remark, 10) + crlf;
    }
    out += kRule + crlf + crlf;
    const QString heading = u'(' + FullWidthDigits(log.day.left(4)) + u'年' + FullWidthDigits(log.day.mid(4, 2)) + u'月' +
                            FullWidthDigits(log.day.mid(6, 2)) + QStringLiteral("日) のＰＡＴ収支 ");
    out += heading + QString(std::max(0, 67 - ByteLength(heading)), u'-') + crlf;
    out += QStringLiteral("    投資額合計： ") + log.investmentText() + crlf;
    out += QStringLiteral("    払戻金合計： ") + log.returnsText() + crlf;
    out += QStringLiteral("    収支： ") + log.balanceText() + crlf;
    out += QStringLiteral("    回収率： ") + log.rateText() + crlf;
    out += QString(67, u'-') + crlf;
    return out;
}

Status ExportPatView(const VoteLog& log, const QString& file) { return SafeSave::append(file, toSjis(voteLogText(log))); }

}  // namespace zm
