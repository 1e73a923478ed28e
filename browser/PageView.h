#pragma once
// The page view of the main window: shows a page file read in the page's own encoding, in the shortened
// form written beside it for display when there is one (browser/RecipePage.h). It follows no link itself;
// the window decides what a click on a link does.
#include <QTextBrowser>
#include <memory>

class QPagedPaintDevice;

class PageView : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;

    // The page on display as a document of its own, whole even when the view shows a shortened form;
    // nullptr when the view shows its page whole.
    std::unique_ptr<QTextDocument> wholeDocument() const;
    // Prints the page whole.
    void printWhole(QPagedPaintDevice* printer) const;
};
