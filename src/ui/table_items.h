#pragma once

// Cells of the read-only tables of the PAT windows: text as the files give it, sorted by a
// number where the column holds one.

#include <QTableWidgetItem>

class QTableWidget;

namespace zm::ui {

// A cell that sorts by its key (numbers in ascending order, cells without a number last)
// rather than by its text.
class SortKeyItem : public QTableWidgetItem {
public:
    SortKeyItem(const QString& text, double key, bool hasKey);
    bool operator<(const QTableWidgetItem& other) const override;

private:
    double key_;
    bool hasKey_;
};

// A cell whose key is the number its text starts with (blanks, thousands separators and a
// leading sign allowed); text without a number sorts last.
QTableWidgetItem* numberItem(const QString& text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);
// A cell sorted by its text.
QTableWidgetItem* textItem(const QString& text, Qt::Alignment align = Qt::AlignCenter);

// A read-only table with the given headings, its rows a uniform height.
QTableWidget* makeReadOnlyTable(QWidget* parent, const QString& name, const QStringList& headings);

}  // namespace zm::ui
