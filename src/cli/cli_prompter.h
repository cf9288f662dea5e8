#pragma once

#include "app/prompter.h"

#include <QTextStream>
#include <optional>

namespace zm::cli {

// Answers questions from the --yes/--no/--cancel flag, else by asking on the terminal; with
// neither it takes the safe answer (Cancel, or No where there is no Cancel) and says so.
class CliPrompter : public Prompter {
public:
    enum class Preset { None, Yes, No, Cancel };

    CliPrompter(Preset preset, QTextStream& err, bool interactive);

    void information(const QString& text, const QString& title) override;
    void warning(const QString& text, const QString& title) override;
    void critical(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    Answer yesNoCancel(const QString& text, const QString& title) override;

private:
    // Asks on the terminal; choices are letters such as "yn" or "ync". Returns the chosen letter.
    QChar ask(const QString& text, const QString& choices, QChar fallback);

    Preset preset_;
    QTextStream& err_;
    bool interactive_;
};

}  // namespace zm::cli
