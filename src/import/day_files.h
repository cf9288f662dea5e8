#pragma once

// The names of a race day's files in the data folder, and how a failed write of one is told.

#include "app/context.h"
#include "codes/status.h"

#include <QByteArray>
#include <QString>

namespace zm {

class FileSet;

// Day file names in DataDir.
QString dayRaceFileName(const QString& date);   // "MUR" + date + "_1.DEN"
QString dayEntryFileName(const QString& date);  // "MUR" + date + "_2.DEN"
QString dayHorseFileName(const QString& date);  // "MUR" + date + ".UMA"
QString dayOddsFileName(const QString& date);   // "MURODDS" + date + ".DAT"

// Where a reader finds the day file at path (a full path of DataDir): in set, when there is
// one, the new content it holds for the file.
QString dayFileToRead(const FileSet* set, const QString& path);

// The message for a day file that could not be written.
QString dayFileWriteMessage(const QString& path, const Status& failure);

}  // namespace zm
