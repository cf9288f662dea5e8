#pragma once

// What the odds lookups of the pending-bet commands share: the meeting-day number of each venue
// of the day (PAT's file names carry it) and PAT's files, each read once per command.

#include "app/context.h"
#include "app/file_names.h"
#include "import/day_import.h"
#include "import/records.h"
#include "import/work_folder.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QString>
#include <optional>

namespace zm {

// The meeting-day number of each venue on the day, from the day's race file, read once.
class MeetingDays {
public:
    MeetingDays(const AppPaths& paths, const QString& day) : day_(day) {
        const QString path = findFileNoCase(paths.DataDir, dayRaceFileName(day));
        if (!path.isEmpty())
            file_ = RecordFile::load(path, RaceRecord::kLength);
    }
    QString of(const QString& venueCode) {
        const auto it = cache_.constFind(venueCode);
        if (it != cache_.cend())
            return *it;
        QString nichi;
        if (file_ && !venueCode.isEmpty()) {
            for (int n = 1; n <= file_->count(); ++n) {
                const RaceRecord race(file_->recordView(n));
                if (race.text(RaceRecord::venueCode) == venueCode && race.dateText() == day_) {
                    nichi = race.text(RaceRecord::nichi);
                    break;
                }
            }
        }
        cache_.insert(venueCode, nichi);
        return nichi;
    }

private:
    QString day_;
    std::optional<RecordFile> file_;
    QHash<QString, QString> cache_;
};

// PAT's files, each read once per command.
class PatFileCache {
public:
    const QByteArray* bytes(const QString& path) {
        auto it = files_.find(path);
        if (it == files_.end()) {
            std::optional<QByteArray> b;
            QFile f(path);
            if (QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly))
                b = f.readAll();
            it = files_.insert(path, b);
        }
        return it->has_value() ? &**it : nullptr;
    }

private:
    QHash<QString, std::optional<QByteArray>> files_;
};

}  // namespace zm
