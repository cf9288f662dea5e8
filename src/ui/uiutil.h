#pragma once

// Small pieces shared by the windows: the busy pointer, folder-field checks, window placing.

#include "app/context.h"

#include <QString>
#include <optional>

class QFileDialog;
class QIcon;
class QWidget;

namespace zm::ui {

// Shows the busy pointer for as long as it lives.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The folder text of a settings field: trimmed; empty shows emptyMessage; one trailing
// separator dropped; a folder that does not exist shows "フォルダ名「...」は存在しません！".
// Gives the folder with its trailing "/", or nothing after a message.
std::optional<QString> CheckFolderField(Prompter& prompter, const QString& text, const QString& emptyMessage);

// The one place the desktop shows a failure: a message box of the failure's icon and caption.
// Returns whether the status was done (false after showing the failure).
bool showFailure(Prompter& prompter, const Status& status);

// The text without blanks around it and without one trailing "/" or "\" (the root stays "/").
QString FolderFieldText(const QString& text);

// Folder shown in a settings field: the stored folder without its trailing "/".
QString FieldFromFolder(const QString& folder);

// The program's own icon, shown on every window.
QIcon ProgramIcon();

// Sets up an open-file dialog of the program: the names and sizes never cut, the dates written
// the Japanese way (yyyy/MM/dd HH:mm) whatever the system's locale.
void PrepareFileDialog(QFileDialog& dialog);

// Centres a top-level window over its parent (or the screen) and keeps it on the screen.
void PlaceOverParent(QWidget* window);

}  // namespace zm::ui
