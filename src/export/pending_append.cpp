#include "export/pending_append.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "bets/pending_bet.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

#include <QFileInfo>

namespace zm {

namespace {

// The lines of a text: CR LF, LF and a lone CR each end one.
QStringList textLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

bool isBlankLine(QStringView line) {
    for (QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'　')
            return false;
    }
    return true;
}

}  // namespace

Result<PendingBetsOnDisk> readPendingBetsForWriting(const QString& path) {
    PendingBetsOnDisk out;
    if (!QFileInfo::exists(path))
        return out;
    const Result<QByteArray> read = readOutsideFile(path, kMaxPendingBetFile);
    if (!read.ok())
        return Result<PendingBetsOnDisk>::failure(read.message());
    out.exists = true;
    out.bytes = *read;
    const QString text = fromSjis(out.bytes);
    const QString stop = QStringLiteral("。処理を中止します！");
    if (text.contains(QChar(0xFFFD)))
        return Result<PendingBetsOnDisk>::failure(QStringLiteral("保留ＢＥＴファイル「") + path +
                                                  QStringLiteral("」が Shift-JIS のテキストではありません") + stop);
    const QStringList lines = textLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (isBlankLine(line))
            continue;
        const QStringList f = line.split(u',');
        if (f.size() != 6 || ServiceVenueCodeOf(trimBlanks(f[0])).isEmpty())
            return Result<PendingBetsOnDisk>::failure(QStringLiteral("保留ＢＥＴファイル「") + path + QStringLiteral("」の") +
                                                      QString::number(i + 1) + QStringLiteral("行目「") +
                                                      escapeControls(line) + QStringLiteral("」が読めません") + stop);
        ++out.bets;
    }
    return out;
}

Status writeNewPendingBets(const QString& path, const PendingBetsOnDisk& onDisk, QByteArray bytes, int newBets,
                           bool append) {
    const int total = newBets + (append ? onDisk.bets : 0);
    if (total > kPendingBetTableSize)
        return Status::failure(tooManyBetsMessage(total, kPendingBetTableSize));
    if (!append)
        return saveFile(path, bytes);
    // A file edited by hand may end without its line end: the first new bet starts a line.
    if (!onDisk.bytes.isEmpty() && !onDisk.bytes.endsWith('\n') && !onDisk.bytes.endsWith('\r'))
        bytes.prepend("\r\n");
    return appendToFile(path, bytes);
}

}  // namespace zm
