#include "ui/table_items.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QTableWidget>

namespace zm::ui {

SortKeyItem::SortKeyItem(const QString& text, double key, bool hasKey)
    : QTableWidgetItem(text), key_(key), hasKey_(hasKey) {}

bool SortKeyItem::operator<(const QTableWidgetItem& other) const {
    const auto* o = dynamic_cast<const SortKeyItem*>(&other);
    if (!o) {
        return QTableWidgetItem::operator<(other);
    }
    if (hasKey_ != o->hasKey_) {
        // Cells without a number go after the others in ascending order.
        return hasKey_;
    }
    return hasKey_ ? key_ < o->key_ : text() < o->text();
}

QTableWidgetItem* numberItem(const QString& text, Qt::Alignment align) {
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?[0-9][0-9,]*(\\.[0-9]*)?|[-+]?\\.[0-9]+)"));
    const QRegularExpressionMatch m = number.match(text);
    bool ok = false;
    const double key = m.hasMatch() ? m.captured(1).remove(u',').toDouble(&ok) : 0.0;
    auto* item = new SortKeyItem(text, key, ok);
    item->setTextAlignment(align);
    return item;
}

QTableWidgetItem* textItem(const QString& text, Qt::Alignment align) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}

QTableWidget* makeReadOnlyTable(QWidget* parent, const QString& name, const QStringList& headings) {
    auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    // Row numbers would not follow a sort: the tables that number their rows carry a column.
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setHighlightSections(false);
    // Rows stay in the order they are given until a heading is clicked.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    return table;
}

}  // namespace zm::ui
