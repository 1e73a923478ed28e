#include "browser/PageView.h"

#include "browser/RecipePage.h"
#include "core/WholePage.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <QUrl>

namespace {

QString ReadPage(const QString& path)
{
    QFile page(path);
    return page.open(QIODevice::ReadOnly) ? text::DecodePage(page.readAll()) : QString();
}

} // namespace

PageView::PageView(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QVariant PageView::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile()) {
        const QString path = name.toLocalFile();
        const QString shown = ShownFormOf(path);
        if (QFileInfo(path).isFile())
            return ReadPage(QFileInfo(shown).isFile() ? shown : path);
    }
    return QTextBrowser::loadResource(type, name);
}

std::unique_ptr<QTextDocument> PageView::wholeDocument() const
{
    wholepage::complete();
    const QString path = source().isLocalFile() ? source().toLocalFile() : QString();
    if (path.isEmpty() || !QFileInfo(ShownFormOf(path)).isFile() || !QFileInfo(path).isFile())
        return nullptr;
    auto whole = std::make_unique<QTextDocument>();
    whole->setBaseUrl(source());
    whole->setDefaultFont(document()->defaultFont());
    whole->setHtml(ReadPage(path));
    return whole;
}

void PageView::printWhole(QPagedPaintDevice* printer) const
{
    if (const auto whole = wholeDocument())
        whole->print(printer);
    else
        print(printer);
}
