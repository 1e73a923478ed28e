// The recipe page: the template filled with one recipe's fields, written beside its picture.
#include "browser/RecipePage.h"

#include "browser/PageText.h"

#include "core/PageFolder.h"
#include "core/WholePage.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/Codec.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/LineFile.h"
#include "platform/text/PageReferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>


namespace {

const QString kPicStart = QStringLiteral("<!--PICSTART-->");
const QString kPicEnd = QStringLiteral("<!--PICEND-->");

// Deletes every file directly in this instance's page folder (its lock file stays); folders in it (and
// what they hold) stay.
void EmptyPageFolder()
{
    const QString folder = pagefolder::path();
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        throw AppError(AppError::PathNotFound, "Path not found");
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : files)
        if (name != pagefolder::lockFileName() && !QFile::remove(dir.filePath(name)))
            throw AppError(AppError::PathFileAccess, "Path/File access error");
}

// The template's bytes; the working copy is refreshed from it unless the template is that copy.
QByteArray CopyTemplate(const QString& copyPath)
{
    const QString templatePath = paths::resolveAbsolute(basMain::sTemplatePath);
    if (templatePath.isEmpty() || !QFileInfo(templatePath).isFile())
        throw AppError(AppError::FileNotFound, "File not found");
    const QByteArray bytes = text::readAllBytes(templatePath);

    const QString copyCanonical = QFileInfo(copyPath).canonicalFilePath();
    if (copyCanonical.isEmpty() || copyCanonical != QFileInfo(templatePath).canonicalFilePath())
        text::writeAllBytes(copyPath, bytes);
    return bytes;
}

// Drops what lies between the picture block's markers, keeping both markers.
void RemovePictureBlock(QString& page)
{
    const qsizetype start = page.indexOf(kPicStart);
    if (start < 0)
        return;
    const qsizetype end = page.indexOf(kPicEnd);
    const qsizetype keep = start + kPicStart.size();
    if (end < keep)
        throw AppError(AppError::InvalidProcedureCall,
                       "The template's picture block has no \"<!--PICEND-->\" after its \"<!--PICSTART-->\"");
    page.remove(keep, end - keep);
}

QString Stored(const db::Query& row, const char* column) { return row.text(QString::fromLatin1(column)); }

// The recipe's fields the page shows, as stored.
struct StoredFields {
    QHash<QString, QString> text; // by column name
    bool authorNull = false;
};

StoredFields ReadFields(const db::Query& row)
{
    StoredFields fields;
    for (const char* column : {"TITLE", "CATEGORY", "ORIGIN", "YIELD", "AUTHOR", "PREPTIME", "COOKTIME", "TOTALTIME",
                               "INGREDIENTS", "INSTRUCTIONS"})
        fields.text[column] = Stored(row, column);
    fields.authorNull = row.isNull("AUTHOR");
    return fields;
}

// The page's values for the placeholders, taken in their fixed order. Every value shows as stored: "$$"
// turned back into "'" (the importers store apostrophes that way in every field), and never as markup.
// The page on display (`shownChars` not negative) shows at most that many characters of the recipe's text
// and gets break opportunities in long runs; any other page holds the stored text whole and unchanged.
QHash<QString, QString> PageValues(const StoredFields& fields, const QString& picture, qsizetype shownChars,
                                   bool* cut = nullptr)
{
    const bool shown = shownChars >= 0;
    pagetext::ShownText part(shownChars);
    auto html = [&](const QString& stored, bool lines = false) {
        QString out = pagetext::Html(part.take(stored), shown);
        if (lines)
            out.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
        return part.cutHere() ? out + pagetext::CutNote() : out;
    };
    auto field = [&](const char* column, bool lines = false) { return html(fields.text.value(column), lines); };

    QHash<QString, QString> values;
    values["title"] = field("TITLE");
    values["by"] = QString();
    values["cat"] = field("CATEGORY");
    values["origin"] = field("ORIGIN");
    values["yield"] = field("YIELD");
    values["author"] = fields.authorNull ? QStringLiteral(" ") : field("AUTHOR");
    values["prep"] = field("PREPTIME");
    values["cook"] = field("COOKTIME");
    values["total"] = field("TOTALTIME");
    if (!picture.isEmpty())
        values["picture"] = pagetext::Escaped(picture);
    values["ingredients"] = field("INGREDIENTS", true);
    values["instructions"] = field("INSTRUCTIONS", true) + "\r\n\r\n<hr>";
    if (cut)
        *cut = part.cut();
    return values;
}

// The page text of the template filled with the values, as the page's bytes.
QByteArray PageBytes(const QString& page, const QHash<QString, QString>& values, const QByteArray& charset)
{
    return text::EncodePage(pagetext::Fill(page, values, "instructions") + "\r\n", charset);
}

// The name a picture is written under beside a page: the stored name with what a page's link, a file
// system or a mail header cannot carry as it is turned into "_", and never the name of a file of the page
// folder's own (the page, its shown form, the folder's lock).
QString PictureFileName(const QString& stored)
{
    QString name = text::CarriableFileName(paths::nameFromData(stored));
    if (name.startsWith('.') || name.compare(QLatin1String("recipe.html"), Qt::CaseInsensitive) == 0)
        name.prepend('_');
    return name;
}

} // namespace

QString WriteRecipePage(const QString& sRecipeKey, bool bEmail, QString* picture)
{
    if (picture)
        picture->clear();
    try {
        text::closeAllFiles();
        // The e-mail's pages go beside the page on display, which stays.
        if (!bEmail) {
            wholepage::drop();
            EmptyPageFolder();
        }

        QString copyPath, pagePath, pictureFolder;
        if (bEmail) {
            pictureFolder = pagefolder::emailPath();
            copyPath = pagePath = pictureFolder + "/recipe" + QString::number(++basMain::lEmailCount) + ".html";
        } else {
            pictureFolder = pagefolder::path();
            copyPath = paths::resolve("\\recipe.html");
            pagePath = pictureFolder + "/recipe.html";
        }
        const QByteArray templateBytes = CopyTemplate(copyPath);

        db::Query row(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE [ID]=?1", {recipelist::idOf(sRecipeKey)});
        if (!row.next())
            return {};

        // A name without bytes (or one that reduces to no file name) counts as no picture.
        const QString pictureName = PictureFileName(Stored(row, "PICTURENAME"));
        const QString pictureWritten =
            pictureName.isEmpty()
                ? QString()
                : basDatabase::ExtractPictureFromRecordset(
                      row, pictureFolder,
                      bEmail ? QString::number(basMain::lEmailCount) + paths::extensionOf(pictureName)
                             : pictureName);

        const QByteArray charset = text::PageCharset(templateBytes);
        QString page = text::DecodePage(templateBytes, charset);
        if (pictureWritten.isEmpty())
            RemovePictureBlock(page);
        // The page file holds the recipe whole: it is what is saved, mailed and printed. The view shows a
        // shortened form beside it when the whole would be slow to lay out or has runs it cannot wrap.
        const StoredFields fields = ReadFields(row);
        if (bEmail) {
            text::writeAllBytes(pagePath, PageBytes(page, PageValues(fields, pictureWritten, -1), charset));
        } else {
            bool cut = false;
            const QHash<QString, QString> shown = PageValues(fields, pictureWritten, pagetext::kShownChars, &cut);
            if (cut) {
                // Too long to write whole at every click: the page is written whole when it leaves the
                // program; till then it holds the short form too.
                const QByteArray shownBytes = PageBytes(page, shown, charset);
                text::writeAllBytes(ShownFormOf(pagePath), shownBytes);
                text::writeAllBytes(pagePath, shownBytes);
                wholepage::setPending([page, fields, pictureWritten, charset, pagePath] {
                    try {
                        text::writeAllBytes(pagePath, PageBytes(page, PageValues(fields, pictureWritten, -1), charset));
                    } catch (...) {
                        basMain::LogCurrentException("Function DisplayRecipe");
                    }
                });
            } else {
                const QHash<QString, QString> whole = PageValues(fields, pictureWritten, -1);
                text::writeAllBytes(pagePath, PageBytes(page, whole, charset));
                if (shown != whole)
                    text::writeAllBytes(ShownFormOf(pagePath), PageBytes(page, shown, charset));
            }
        }
        if (picture)
            *picture = pictureWritten;
        return pagePath;
    } catch (...) {
        // The e-mail's send reports its own failure, once.
        if (bEmail)
            throw;
        basMain::LogCurrentException("Function DisplayRecipe");
    }
    return {};
}

QString ShownFormOf(const QString& pagePath)
{
    const QFileInfo page(pagePath);
    return page.dir().filePath("." + page.completeBaseName() + ".shown." + page.suffix());
}
