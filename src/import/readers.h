#pragma once

// The readers of the day run: the jockey table, the indexes of the horse and entries work
// files, and the format check of a race-card archive.

#include "app/context.h"
#include "codes/status.h"
#include "import/archive.h"
#include "import/race_model.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zm {

// File names inside a race-card archive and in the program folder (any case matches).
inline const QString kRaceWorkName = QStringLiteral("mur_den1.kd2");
inline const QString kEntryWorkName = QStringLiteral("mur_den2.kd2");
inline const QString kHorseWorkName = QStringLiteral("mur_uma.kd2");
inline const QString kJockeyFileName = QStringLiteral("mur_kis.kd2");
inline const QString kOddsWorkName = QStringLiteral("mur_ods.kd2");

// The rating of one jockey: rateA from countsA and rateB from countsB (wins and seconds over
// all four counts, in percent, at least 7; single precision), then floor(rateA × 1.2 + rateB).
std::int16_t jockeyRatingOf(const JockeyRecord& jockey);

// Up to 512 jockeys of the jockey file of the program folder; none when the file is missing.
JockeyTable LoadJockeyTable(const AppContext& ctx);

// The files of a race-card archive unpacked in memory: the import reads them from here instead
// of writing them into the work folder and reading them back.
class UnpackedArchive {
public:
    explicit UnpackedArchive(std::vector<ArchiveMember> files) : files_(std::move(files)) {}
    // The file name as a lookup in the work folder would find it after an extraction: the
    // exact name, else the first in name order that equals it ignoring case; nullptr for none.
    const ArchiveMember* find(const QString& name) const;

private:
    std::vector<ArchiveMember> files_;
};

// CheckArchiveFormat for the import: the same checks with the same messages, the archive's
// files kept in memory and nothing written to the work folder (which is emptied all the same).
// A failure when the archive is not a race card of the current format.
Result<UnpackedArchive> UnpackDayArchive(const AppContext& ctx, const QString& archivePath);

// The work file name (any case): from the archive unpacked in memory when there is one (not
// nullptr), else from the work folder. Its path and content; an empty path when there is no
// such file.
struct WorkFile {
    QString path;
    QByteArray bytes;
};
WorkFile ReadWorkFile(const AppContext& ctx, const UnpackedArchive* unpacked, const QString& name);

// A work file's records and the 7-character horse codes they hold, by record number.
struct IndexedFile {
    RecordFile file;
    CodeIndex codes;
};

// Reads the horse or entries work file (as ReadWorkFile does) and indexes its horse codes;
// nothing when the file does not exist.
std::optional<IndexedFile> IndexHorseFile(const AppContext& ctx, const UnpackedArchive* unpacked);
std::optional<IndexedFile> IndexEntryFile(const AppContext& ctx, const UnpackedArchive* unpacked);

// Empties the work folder and extracts the archive into it. Done when it holds the three files
// of the current format. An old-format archive is refused with its message, an archive that
// cannot be read with the reader's message, any other kind with an empty message; the work
// folder is then empty.
Status CheckArchiveFormat(const AppContext& ctx, const QString& archivePath);

// Empties the work folder.
void EmptyWorkDir(AppContext& ctx);

}  // namespace zm
