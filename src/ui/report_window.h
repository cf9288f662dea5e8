#pragma once

// What the report windows (予想スタイル別の成績, 収支管理) share besides their charts: the date
// fields of their range, the file a export writes to and the line that says what was written.

#include "app/context.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QDateEdit;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace zm::ui {

// Picks the file to write: caption, proposed path, filters (Qt syntax). Empty when cancelled.
using SaveFileFn = std::function<QString(const QString& caption, const QString& proposed, const QStringList& filters)>;

// A date field of a range (yyyy/MM/dd with a calendar, 1991..2099). A digit that would make no
// date (a 30 typed into February's day) brings back the date the field had when it took the
// focus, and a message says what is valid.
QDateEdit* makeRangeField(QWidget* parent, const QString& name, const QDate& date, Prompter& prompter);

// The 期間 box: from ～ to.
QGroupBox* makeRangeGroup(QWidget* parent, QDateEdit* from, QDateEdit* to);

// A button that Enter does not press.
QPushButton* makeButton(QWidget* parent, const QString& text, const QString& name);

// The bottom row: the progress of a run and what it says share the row of the buttons, which
// are off while it runs; the closing button stands apart on the right.
QHBoxLayout* makeButtonRow(QWidget* bar, QLabel* status, std::initializer_list<QWidget*> buttons, QWidget* close);

// The file an export writes: name proposed in the output folder (else the program's folder),
// picked by pick when it is set, else by a save dialog. Empty when cancelled.
QString chooseSaveFile(QWidget* parent, const AppContext& ctx, const SaveFileFn& pick, const QString& caption,
                       const QString& name, const QStringList& filters);

// Says on the label what was written: the names always whole, the folder when there is room,
// and every full path in the tip.
void showWritten(QLabel* label, const QString& what, const QStringList& paths);

}  // namespace zm::ui
