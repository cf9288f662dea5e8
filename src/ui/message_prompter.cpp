#include "ui/message_prompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>

namespace zm::ui {

namespace {

// Marks after which a long line may break.
bool breaksAfter(QChar c) {
    static const QString marks = QStringLiteral("、。，．！？」』）】〕・…,!?)");
    return marks.contains(c);
}

// The widest line a message box shows without wrapping it itself (its own limit is the screen
// less some room, at most 1000 pixels; the icon and margins take the rest).
int lineLimit(const QWidget* parent) {
    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int hardLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    return std::max(200, hardLimit - 140);
}

}  // namespace

QStringList MessageLines(const QString& text, const QFontMetrics& metrics, int maxWidth) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    QStringList out;
    for (const QString& line : normal.split(u'\n')) {
        QString rest = line;
        while (metrics.horizontalAdvance(rest) > maxWidth) {
            // The last mark that keeps the first part within the width, else the first mark.
            qsizetype cut = -1;
            for (qsizetype i = 0; i + 1 < rest.size(); ++i) {
                if (!breaksAfter(rest[i])) {
                    continue;
                }
                if (metrics.horizontalAdvance(rest.left(i + 1)) <= maxWidth || cut < 0) {
                    cut = i + 1;
                } else {
                    break;
                }
            }
            if (cut < 0) {
                break;  // no mark to break at: the line stays whole
            }
            out << rest.left(cut);
            rest = rest.mid(cut);
        }
        out << rest;
    }
    // A trailing line end adds no line of its own.
    while (out.size() > 1 && out.constLast().isEmpty()) {
        out.removeLast();
    }
    return out;
}

QMessageBox* MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preset) {
    auto* box = new QMessageBox(icon, title, QString(), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(preset);
    // Esc always answers the harmless button: Cancel, else No, else the only one there is.
    box->setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                         : buttons.testFlag(QMessageBox::No)   ? QMessageBox::No
                                                               : preset);
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QFontMetrics metrics(label ? label->font() : box->font());
    const QStringList lines = MessageLines(text, metrics, lineLimit(parent));
    box->setText(lines.join(u'\n'));
    if (label) {
        int widest = 0;
        for (const QString& l : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(l));
        }
        // The box wraps its text to fit its width: as wide as the longest line, it never does.
        // A long title beside a short text widens the box so that the title bar shows it whole.
        const int title_room = box->fontMetrics().horizontalAdvance(title) + 60;
        label->setMinimumWidth(std::max(widest + metrics.averageCharWidth(), title_room));
    }
    return box;
}

QWidget* MessageBoxPrompter::owner() const {
    // The dialog that raised the message gets it back when the box closes, with its focus.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return parent_;
}

// Each kind's icon, buttons and default button. Every three-way question the program asks is
// "overwrite / append / stop": Cancel is its default.
Answer MessageBoxPrompter::ask(const Question& q) {
    using B = QMessageBox;
    struct Look {
        B::Icon icon;
        B::StandardButtons buttons;
        B::StandardButton preset;
    };
    // By kind, in the order of QuestionKind.
    static constexpr Look looks[] = {
        {B::Information, B::Ok, B::Ok},
        {B::Warning, B::Ok, B::Ok},
        {B::Critical, B::Ok, B::Ok},
        {B::Question, B::Ok | B::Cancel, B::Ok},               // OkCancel
        {B::Warning, B::Ok | B::Cancel, B::Cancel},            // Confirm
        {B::Question, B::Yes | B::No, B::Yes},                 // YesNo
        {B::Question, B::Yes | B::No, B::No},                  // ConfirmYesNo
        {B::Question, B::Yes | B::No | B::Cancel, B::Cancel},  // YesNoCancel
    };
    static_assert(std::size(looks) == static_cast<size_t>(QuestionKind::YesNoCancel) + 1);
    const Look& look = looks[static_cast<int>(q.kind)];
    QPointer<QMessageBox> box = MakeMessageBox(owner(), look.icon, q.title, q.text, look.buttons, look.preset);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    const int b = box->exec();
    delete box.data();
    return b == B::Ok ? Answer::Ok : b == B::Yes ? Answer::Yes : b == B::No ? Answer::No : Answer::Cancel;
}

}  // namespace zm::ui
