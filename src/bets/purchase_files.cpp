#include "bets/purchase_files.h"

#include "app/file_set.h"
#include "bets/pending_bet.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zm {

namespace {

const QString kFullBlanks = QStringLiteral("　　");
const QString kGap = QStringLiteral("    ");

QString purchaseCombination(const QString& combination, bool quinella) {
    const QString c = rightPart(QStringLiteral("     ") + combination, 5);
    if (!quinella)
        return c;
    auto part = [](const QString& p) { return FieldValue(p) < 10 ? QStringLiteral("0") + p.right(1) : p; };
    return part(c.left(2)) + u'-' + part(c.right(2));
}

}  // namespace

QString PurchaseTitle(const QString& day) {
    const QString d = day.right(6);
    return d.left(2) + QStringLiteral("年 ") + d.mid(2, 2) + QStringLiteral("月 ") + d.mid(4, 2) + u'日';
}

int PurchaseFileNumber(int k) {
    return std::min(9, (k - 1) / 50 + 1);
}

QString PurchaseLine(const PendingBet& bet) {
    const QString typeWord = trimBlanks(bet.BetType);
    const auto stake = bet.stake();
    const QString amountText = stake ? stake->digits() + u'円' : trimBlanks(bet.Amount);
    const QString venue = rightPart(kFullBlanks + trimBlanks(bet.Venue), 2);
    const QString race = rightPart(QStringLiteral("   ") + trimBlanks(bet.Race), 3);
    // Wide bets keep their whole word; every other type its last two characters.
    const bool wide = typeWord.startsWith(u'ワ') || typeWord.startsWith(u'拡');
    const QString type = wide ? QStringLiteral("ワイド") : rightPart(kFullBlanks + typeWord, 2);
    const QString combination = purchaseCombination(trimBlanks(bet.Combination), typeWord.startsWith(u'馬'));
    const QString odds = rightPart(QStringLiteral("      ") + trimBlanks(bet.Odds), 6);
    // An amount longer than its seven columns is written whole, never cut.
    const QString amount = amountText.size() > 7 ? amountText : rightPart(QStringLiteral("       ") + amountText, 7);
    return venue + kGap + race + kGap + type.leftJustified(6, u' ') + kGap + combination + kGap + odds + kGap + amount;
}

Status RemovePendingBetsKeepingBackup(const AppPaths& paths, const QString& day) {
    // A rename: it needs no room on the disk, and at every moment one of the two names holds the
    // bets. A backup already there is replaced; a folder at its name refuses the rename.
    const QString path = PendingBetPath(paths, day);
    const QString backup = PendingBetBackupPath(paths, day);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(backup).constData()) != 0) {
        const int error = errno;
        return Status::failure(QStringLiteral("%1 を削除できませんでした（%2 にできません：%3）。")
                                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(backup),
                                        QString::fromLocal8Bit(std::strerror(error))));
    }
    return {};
}

Result<Notice> CutPurchaseFiles(AppContext& ctx, const QString& day) {
    const QString path = PendingBetPath(ctx.paths, day);
    const auto file = ReadPendingBets(path);
    if (!file.ok()) {
        return Status::warning(file.message(), kPurchaseTitle);
    }
    if (!file->exists) {
        return Status::notice(kNoPurchaseFile, kPurchaseTitle);
    }
    QStringList bets;
    for (const PendingBet& bet : file->bets)
        bets << PurchaseLine(bet);
    if (bets.size() > kPendingBetTableSize) {
        return Status::warning(tooManyBetsMessage(static_cast<int>(bets.size()), kPendingBetTableSize),
                               kPurchaseTitle);
    }
    const QString outDir = withTrailingSlash(ctx.settings.BetOutDir);

    // The day's old purchase files: the date, exactly two characters, ".BET", in any case. They
    // are replaced as one set: every old file stays until every new one is on the disk.
    FileSet set(ctx.paths.DataDir);
    int deleted = 0;
    const QRegularExpression oldName(QStringLiteral("^") + QRegularExpression::escape(day) +
                                         QStringLiteral("..\\.BET$"),
                                     QRegularExpression::CaseInsensitiveOption);
    const QDir dir(outDir);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (oldName.match(name).hasMatch()) {
            set.drop(QFileInfo(dir.filePath(name)).absoluteFilePath());
            ++deleted;
        }
    }

    const QString title = PurchaseTitle(day) + QStringLiteral("\r\n\r\n");
    int files = 0;
    for (qsizetype start = 0; start < bets.size();) {
        const int number = PurchaseFileNumber(static_cast<int>(start) + 1);
        const qsizetype end = number == 9 ? bets.size() : std::min<qsizetype>(bets.size(), start + 50);
        QString text = title;
        for (qsizetype k = start; k < end; ++k)
            text += bets[k] + QStringLiteral("\r\n");
        const Status s =
            set.put(QFileInfo(outDir + day + QStringLiteral("_%1.BET").arg(number)).absoluteFilePath(), toSjis(text));
        if (!s.ok())
            return Status::failure(unchangedMessage(s.message()), kPurchaseTitle);
        ++files;
        start = end;
    }
    if (const Status committed = set.commit(); !committed)
        return committed.titled(kPurchaseTitle);
    QString report = QString::number(bets.size()) + QStringLiteral("BET（") + QString::number(files) +
                     QStringLiteral("ﾌｧｲﾙ）出力しました。");
    if (deleted > 0)
        report = QStringLiteral("既存のBETﾌｧｲﾙ（") + QString::number(deleted) + QStringLiteral("ﾌｧｲﾙ）を削除しました。") +
                 QStringLiteral("\r\n") + report;
    return Notice{report, kPurchaseTitle};
}

Status OfferPendingBetRemoval(AppContext& ctx, const QString& day, const QString& question, const QString& caption) {
    if (!ctx.prompter.confirmYesNo(question, caption))
        return {};
    return RemovePendingBetsKeepingBackup(ctx.paths, day).titled(caption);
}

Status OfferPendingBetRemoval(AppContext& ctx, const QString& day) {
    return OfferPendingBetRemoval(ctx, day, QStringLiteral("保留ＢＥＴファイルを削除しますか？"), kPurchaseTitle);
}

}  // namespace zm
