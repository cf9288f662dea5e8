#include "ui/report_window.h"

#include "ui/uiutil.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

// A date field that refuses a digit which would make no date (a 30 typed into February's day
// gives no date, where the field itself would keep the 3 and drop the 0 without a word): the
// date the field had when it took the focus comes back and a message says what is valid.
class DateTypingGuard : public QObject {
public:
    DateTypingGuard(QDateEdit* field, Prompter& prompter) : QObject(field), field_(field), prompter_(prompter) {
        field->installEventFilter(this);
        start_ = field->date();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != field_) {
            return false;
        }
        if (event->type() == QEvent::FocusIn) {
            start_ = field_->date();
            return false;
        }
        if (event->type() != QEvent::KeyPress || busy_) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() != 1 || !key->text().at(0).isDigit()) {
            return false;
        }
        const QString before = field_->text();
        busy_ = true;
        QCoreApplication::sendEvent(field_, event);
        busy_ = false;
        if (field_->text() == before) {
            field_->setDate(start_);
            prompter_.warning(u"その日付はありません。"_s + u"\r\n期間は1991/01/01～2099/12/31の実在する日付で"_s +
                              u"入力してください。"_s);
            field_->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }

private:
    QDateEdit* field_;
    Prompter& prompter_;
    QDate start_;
    bool busy_ = false;
};

}  // namespace

QDateEdit* makeRangeField(QWidget* parent, const QString& name, const QDate& date, Prompter& prompter) {
    auto* field = new QDateEdit(date, parent);
    field->setObjectName(name);
    field->setDisplayFormat(u"yyyy/MM/dd"_s);
    field->setCalendarPopup(true);
    field->setDateRange(QDate(1991, 1, 1), QDate(2099, 12, 31));
    new DateTypingGuard(field, prompter);
    return field;
}

QGroupBox* makeRangeGroup(QWidget* parent, QDateEdit* from, QDateEdit* to) {
    auto* group = new QGroupBox(u"期間"_s, parent);
    group->setObjectName(u"fraRange"_s);
    auto* range = new QHBoxLayout(group);
    range->addWidget(from);
    range->addWidget(new QLabel(u"～"_s, group));
    range->addWidget(to);
    return group;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const QString& name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* makeButtonRow(QWidget* bar, QLabel* status, std::initializer_list<QWidget*> buttons, QWidget* close) {
    auto* row = new QHBoxLayout;
    row->addWidget(bar, 1);
    row->addWidget(status, 1);
    row->addSpacing(16);
    for (QWidget* w : buttons) {
        row->addWidget(w);
    }
    row->addSpacing(16);
    row->addWidget(close);
    return row;
}

QString chooseSaveFile(QWidget* parent, const AppContext& ctx, const SaveFileFn& pick, const QString& caption,
                       const QString& name, const QStringList& filters) {
    const QString folder = QDir(ctx.settings.OutPutDir).exists() ? ctx.settings.OutPutDir : ctx.paths.AppPath;
    const QString proposed = QDir(folder).filePath(name);
    if (pick) {
        return pick(caption, proposed, filters);
    }
    QFileDialog dialog(parent, caption);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QFileInfo(name).suffix());
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void showWritten(QLabel* label, const QString& what, const QStringList& paths) {
    QStringList names;
    for (const QString& p : paths) {
        names << QFileInfo(p).fileName();
    }
    const QString shortText = what + names.join(u"、"_s);
    const QString folder = paths.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(paths.first()).absolutePath());
    const QString longText = shortText + u"（"_s + folder + u"）"_s;
    const int room = label->contentsRect().width();
    label->setText(label->fontMetrics().horizontalAdvance(longText) <= room ? longText : shortText);
    QStringList tips;
    for (const QString& p : paths) {
        tips << QDir::toNativeSeparators(p);
    }
    label->setToolTip(tips.join(u'\n'));
    label->setMinimumWidth(std::min(label->fontMetrics().horizontalAdvance(label->text()) + 8, 640));
}

}  // namespace zm::ui
