#pragma once

// The emptying of the work folder; the lookups that ignore case are in app/file_names.h.

#include "app/file_names.h"

#include <QString>
#include <QStringList>

namespace zm {

// Deletes everything inside folder (files, links and subfolders); the folder itself stays.
// False when something could not be deleted.
bool emptyFolder(const QString& folder);

}  // namespace zm
