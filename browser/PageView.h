#pragma once
// The page view of the main window: shows a page file read in the page's own encoding. It follows no link
// itself; the window decides what a click on a link does.
#include <QTextBrowser>

class PageView : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;
};
