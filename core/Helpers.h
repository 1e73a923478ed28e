#pragma once
// Small helpers that several windows share.
#include <QString>
#include <QVariant>
#include <chrono>
#include <future>

class QLineEdit;
class QTextEdit;
class QPlainTextEdit;
class QTreeWidget;

// True when anything (a folder or a file) exists at the path; names match without regard to case.
bool FolderExists(const QString& path);
// True when a plain file exists at the path (not a folder); names match without regard to case.
bool FileExists(const QString& path);

// Selects the whole text, so that typing replaces it.
void SelectAllText(QLineEdit* box);
void SelectAllText(QTextEdit* box);
void SelectAllText(QPlainTextEdit* box);

// The character code of a key press when that character is among the allowed ones (letter case ignored;
// backspace, code 8, when allowed), else 0 to drop the key. Codes that are no character give 0.
int FilterKey(int keyCode, const QString& allowed, bool allowBackspace);

// Fits every column of a report list (or only the given one-based column) to its contents.
void AutoSizeColumns(QTreeWidget* list, int column = 0);

// The value, or an empty text (which reads as 0 where a number is wanted) when it is Null.
QVariant NoNull(const QVariant& value);

// Runs `work` on a thread of its own and calls `yield` every 20 ms until it ends, so that the window
// repaints meanwhile; its result or its exception comes back. `work` touches no widget, and nothing the
// window's thread does in `yield` may use what `work` uses.
template <class Work, class Yield>
auto runOffThread(Work work, Yield yield)
{
    auto done = std::async(std::launch::async, std::move(work));
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        yield();
    return done.get();
}
