#include "export/pending_append.h"

#include "app/safe_save.h"
#include "bets/pending_bet.h"

namespace zm {

Result<PendingBetsOnDisk> readPendingBetsForWriting(const QString& path) {
    // The one reader of the pending-bet file: a file it refuses is never written to.
    const Result<PendingBetFile> file = ReadPendingBets(path);
    if (!file)
        return Result<PendingBetsOnDisk>::failure(file.message());
    PendingBetsOnDisk out;
    out.exists = file->exists;
    out.bytes = file->bytes;
    out.bets = static_cast<int>(file->bets.size());
    return out;
}

Status writeNewPendingBets(const QString& path, const PendingBetsOnDisk& onDisk, QByteArray bytes, int newBets,
                           bool append) {
    const int total = newBets + (append ? onDisk.bets : 0);
    if (total > kPendingBetTableSize)
        return Status::failure(tooManyBetsMessage(total, kPendingBetTableSize));
    if (!append)
        return SafeSave::save(path, bytes);
    // A file edited by hand may end without its line end: the first new bet starts a line.
    if (!onDisk.bytes.isEmpty() && !onDisk.bytes.endsWith('\n') && !onDisk.bytes.endsWith('\r'))
        bytes.prepend("\r\n");
    return SafeSave::append(path, bytes);
}

}  // namespace zm
