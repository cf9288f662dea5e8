#pragma once

// File lookups that ignore case (the service's files come from a platform that does) and the
// emptying of the work folder.

#include <QString>
#include <QStringList>

namespace zm {

// The full path of the file in folder whose name equals name ignoring case (an exact-case
// match wins when both exist); empty text when there is none.
QString findFileNoCase(const QString& folder, const QString& name);

// The file names of folder matching a wildcard pattern ignoring case, sorted by name ignoring
// case (then exactly), at most limit of them.
QStringList listFilesNoCase(const QString& folder, const QString& pattern, int limit);

// Deletes everything inside folder (files, links and subfolders); the folder itself stays.
void emptyFolder(const QString& folder);

}  // namespace zm
