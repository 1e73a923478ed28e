#include "exchange/EmailPages.h"

#include "platform/AppError.h"
#include "platform/mail/SendMail.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"
#include "platform/text/PageEncoding.h"
#include "platform/text/PageReferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace emailpages {
namespace {

// One attribute of a tag, by its byte offsets in the page.
struct Attribute {
    qsizetype start = 0;      // its name
    qsizetype valueStart = 0; // its value, without quotes
    qsizetype valueEnd = 0;
    qsizetype end = 0;        // after its value's closing quote
    QByteArray name;          // in lower case
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The attributes of every tag of the page that refer to an image, in the page's order. Comments are
// skipped; a value that ends the page unclosed ends the scan.
QList<Attribute> ImageAttributes(const QByteArray& page)
{
    QList<Attribute> found;
    const qsizetype n = page.size();
    qsizetype i = 0;
    while ((i = page.indexOf('<', i)) >= 0) {
        if (page.mid(i, 4) == "<!--") {
            const qsizetype close = page.indexOf("-->", i + 4);
            if (close < 0)
                break;
            i = close + 3;
            continue;
        }
        ++i;
        if (i >= n || !IsLetter(page[i]))
            continue;
        while (i < n && !IsSpace(page[i]) && page[i] != '>' && page[i] != '/')
            ++i; // the tag's name
        for (;;) {
            while (i < n && (IsSpace(page[i]) || page[i] == '/'))
                ++i;
            if (i >= n || page[i] == '>')
                break;
            Attribute a;
            a.start = i;
            while (i < n && !IsSpace(page[i]) && page[i] != '=' && page[i] != '>' && page[i] != '/')
                ++i;
            a.name = page.mid(a.start, i - a.start).toLower();
            qsizetype j = i;
            while (j < n && IsSpace(page[j]))
                ++j;
            if (j >= n || page[j] != '=') {
                continue; // an attribute without a value
            }
            ++j;
            while (j < n && IsSpace(page[j]))
                ++j;
            if (j < n && (page[j] == '"' || page[j] == '\'')) {
                const qsizetype close = page.indexOf(page[j], j + 1);
                if (close < 0)
                    return found;
                a.valueStart = j + 1;
                a.valueEnd = close;
                i = close + 1;
            } else {
                a.valueStart = j;
                while (j < n && !IsSpace(page[j]) && page[j] != '>')
                    ++j;
                a.valueEnd = i = j;
            }
            a.end = i;
            if (a.name == "src" || a.name == "background")
                found << a;
        }
    }
    return found;
}

bool SameBytes(const QString& a, const QString& b)
{
    return QFileInfo(a).size() == QFileInfo(b).size() && text::readAllBytes(a) == text::readAllBytes(b);
}

// The image as a file of the mail's folder: itself when it lies there, else a copy under a carriable name
// that no other file there has (or an earlier copy of the same image).
QString InFolder(const QString& image, const QString& folder)
{
    const QFileInfo source(image);
    if (source.canonicalPath() == QFileInfo(folder).canonicalFilePath())
        return source.canonicalFilePath();
    const QString name = text::CarriableFileName(source.fileName());
    for (int n = 1;; ++n) {
        const QString copy = QDir(folder).filePath(n == 1 ? name : QString::number(n) + "-" + name);
        if (!QFileInfo::exists(copy)) {
            if (!QFile::copy(image, copy))
                throw AppError(AppError::PathFileAccess, "The picture " + QDir::toNativeSeparators(image)
                                                             + " could not be copied for the mail");
            return copy;
        }
        if (SameBytes(copy, image))
            return copy;
    }
}

} // namespace

QStringList CarryImages(QByteArray& page, const QString& pageFolder, const QString& folder, Carry how)
{
    const QByteArray charset = mail::SendMail::htmlCharset(page);
    QStringList files;
    QByteArray out;
    qsizetype at = 0;
    for (const Attribute& a : ImageAttributes(page)) {
        const QString value = text::ResolveReferences(text::DecodePage(page.mid(a.valueStart, a.valueEnd - a.valueStart), charset));
        const QString file = text::ReferencedFile(value, pageFolder);
        if (file.isEmpty())
            continue; // a link elsewhere (http:, data:, cid:) stays as it is
        out += page.mid(at, a.start - at);
        // What the program wrote beside the page (the recipe's picture) goes as it is; a file elsewhere only
        // when it is an image, so that a template never sends any other file of the sender's.
        const QFileInfo info(file);
        const bool written = info.canonicalPath() == QFileInfo(pageFolder).canonicalFilePath()
                             || info.canonicalPath() == QFileInfo(folder).canonicalFilePath();
        if (info.isFile() && (written || !QImageReader::imageFormat(file).isEmpty())) {
            const QString carried = InFolder(file, folder);
            if (!files.contains(carried))
                files << carried;
            const QByteArray reference = how == Carry::Related ? "cid:" + mail::SendMail::contentId(carried)
                                                               : text::AttributeBytes(QFileInfo(carried).fileName());
            out += page.mid(a.start, a.valueStart - a.start) + reference + page.mid(a.valueEnd, a.end - a.valueEnd);
        }
        at = a.end; // a reference to nothing there is dropped, never sent as a path
    }
    out += page.mid(at);
    page = out;
    return files;
}

QStringList CarryImagesOfFile(const QString& pagePath, const QString& pageFolder, const QString& folder, Carry how)
{
    QByteArray page = text::readAllBytes(pagePath);
    const QByteArray before = page;
    const QStringList files = CarryImages(page, pageFolder, folder, how);
    if (page != before)
        text::writeAllBytes(pagePath, page);
    return files;
}

QByteArray MessageAsHtml(const QString& message)
{
    QString html = message.toHtmlEscaped();
    html.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0x2029), '\n');
    html.replace("\n", "<br>\r\n");
    QByteArray out;
    for (char32_t c : html.toUcs4())
        out += c < 0x80 ? QByteArray(1, char(c)) : "&#" + QByteArray::number(uint(c)) + ";";
    return out;
}

} // namespace emailpages
