#include "editor/LongTextBox.h"

#include <QPlainTextEdit>
#include <QTextOption>

namespace {

// Far longer than any word or link; well below what word wrapping lays out slowly.
constexpr qsizetype LongestWrappedRun = 2000;

bool hasLongRun(const QString& text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > LongestWrappedRun)
            return true;
    }
    return false;
}

} // namespace

void SetBoxText(QPlainTextEdit* box, const QString& text)
{
    box->setWordWrapMode(hasLongRun(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setPlainText(text);
}
