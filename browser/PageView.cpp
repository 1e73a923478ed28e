#include "browser/PageView.h"

#include "browser/RecipePage.h"

#include <QFile>
#include <QTextDocument>
#include <QUrl>

PageView::PageView(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QVariant PageView::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
        QFile page(name.toLocalFile());
        if (page.open(QIODevice::ReadOnly))
            return text::DecodePage(page.readAll());
    }
    return QTextBrowser::loadResource(type, name);
}
