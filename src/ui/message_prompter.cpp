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

QMessageBox::StandardButton MessageBoxPrompter::ask(QMessageBox::Icon icon, const QString& title,
                                                   const QString& text, QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton preset) {
    QPointer<QMessageBox> box = MakeMessageBox(owner(), icon, title, text, buttons, preset);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    const int result = box->exec();
    delete box.data();
    return static_cast<QMessageBox::StandardButton>(result);
}

void MessageBoxPrompter::information(const QString& text, const QString& title) {
    ask(QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::warning(const QString& text, const QString& title) {
    ask(QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompter::critical(const QString& text, const QString& title) {
    ask(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompter::okCancel(const QString& text, const QString& title) {
    return ask(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool MessageBoxPrompter::confirm(const QString& text, const QString& title) {
    return ask(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool MessageBoxPrompter::yesNo(const QString& text, const QString& title) {
    return ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool MessageBoxPrompter::confirmYesNo(const QString& text, const QString& title) {
    return ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

// Every three-way question the program asks is "overwrite / append / stop": Cancel is the default.
Answer MessageBoxPrompter::yesNoCancel(const QString& text, const QString& title) {
    const auto b = ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                       QMessageBox::Cancel);
    return b == QMessageBox::Yes ? Answer::Yes : b == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace zm::ui
