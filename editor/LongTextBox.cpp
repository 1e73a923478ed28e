#include "editor/LongTextBox.h"

#include "core/Helpers.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>
#include <QThread>

namespace {

// Far longer than any word or link; well below what word wrapping lays out slowly.
constexpr qsizetype LongestWrappedRun = 2000;

// Beyond this many characters, splitting the text into the box's lines takes long enough to be felt.
constexpr qsizetype LargeText = 1 << 20;

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

// A document holding `text`, made on a thread of its own while the window repaints, and handed over to
// the window's thread. It has no layout yet: the box gives it one.
QTextDocument* documentMadeAside(const QString& text, const QFont& font)
{
    QThread* const windowThread = QThread::currentThread();
    return runOffThread(
        [&] {
            auto* document = new QTextDocument;
            document->setDefaultFont(font);
            document->setPlainText(text);
            document->setModified(false);
            document->moveToThread(windowThread);
            return document;
        },
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}

} // namespace

void SetBoxText(QPlainTextEdit* box, const QString& text)
{
    box->setWordWrapMode(hasLongRun(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    if (text.size() <= LargeText) {
        box->setPlainText(text);
        return;
    }
    QTextDocument* const previous = box->document();
    QTextDocument* document = documentMadeAside(text, previous->defaultFont());
    document->setDocumentMargin(previous->documentMargin());
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    const bool previousIsOurs = previous->parent() == box; // else the box's own, which it deletes itself
    box->setDocument(document);
    document->setParent(box);
    if (previousIsOurs)
        previous->deleteLater();
}
