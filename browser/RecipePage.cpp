// The recipe page: the template filled with one recipe's fields, written beside its picture.
#include "browser/RecipePage.h"

#include "browser/PageText.h"

#include "core/PageFolder.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/Codec.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/LineFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>


namespace {

const QString kPicStart = QStringLiteral("<!--PICSTART-->");
const QString kPicEnd = QStringLiteral("<!--PICEND-->");

// Deletes every file directly in this instance's page folder; folders in it (and what they hold) stay.
void EmptyPageFolder()
{
    const QString folder = pagefolder::path();
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        throw AppError(AppError::PathNotFound, "Path not found");
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : files)
        if (!QFile::remove(dir.filePath(name)))
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

// Fills the placeholders in their fixed order and returns the page text. Every value shows as stored: "$$"
// turned back into "'" (the importers store apostrophes that way in every field), and never as markup.
// The page shows at most `shownChars` characters of the recipe's text (all of it when negative).
QString FillPage(QString page, const db::Query& row, const QString& pictureFolder, const QString& pictureName,
                 qsizetype shownChars, QString* pictureWritten)
{
    pagetext::ShownText shown(shownChars);
    auto html = [&](const QString& stored, bool lines = false) {
        QString out = pagetext::Html(shown.take(stored));
        if (lines)
            out.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
        return shown.cutHere() ? out + pagetext::CutNote() : out;
    };
    auto field = [&](const char* column, bool lines = false) { return html(Stored(row, column), lines); };

    page.replace("%title%", field("TITLE"));
    page.replace("%by%", QString());
    page.replace("%cat%", field("CATEGORY"));
    page.replace("%origin%", field("ORIGIN"));
    page.replace("%yield%", field("YIELD"));
    page.replace("%author%", row.isNull("AUTHOR") ? QStringLiteral(" ") : field("AUTHOR"));
    page.replace("%prep%", field("PREPTIME"));
    page.replace("%cook%", field("COOKTIME"));
    page.replace("%total%", field("TOTALTIME"));

    // A name without bytes (or one that reduces to no file name) counts as no picture.
    const QString picture = Stored(row, "PICTURENAME").isEmpty()
                                ? QString()
                                : basDatabase::ExtractPictureFromRecordset(row, pictureFolder, pictureName);
    *pictureWritten = picture;
    if (!picture.isEmpty())
        page.replace("%picture%", pagetext::Escaped(picture));
    else
        RemovePictureBlock(page);

    page.replace("%ingredients%", field("INGREDIENTS", true));
    page.replace("##", " ");
    page.replace("%instructions%", field("INSTRUCTIONS", true) + "\r\n\r\n<hr>");
    return page;
}

} // namespace

QString WriteRecipePage(const QString& sRecipeKey, bool bEmail, QString* picture)
{
    if (picture)
        picture->clear();
    try {
        text::closeAllFiles();
        // The e-mail's pages go beside the page on display, which stays.
        if (!bEmail)
            EmptyPageFolder();

        QString copyPath, pagePath, pictureFolder, pictureName;
        if (bEmail) {
            const QString n = QString::number(++basMain::lEmailCount);
            pictureFolder = pagefolder::emailPath();
            pictureName = n;
            copyPath = pagePath = pictureFolder + "/recipe" + n + ".html";
        } else {
            pictureFolder = pagefolder::path();
            copyPath = paths::resolve("\\recipe.html");
            pagePath = pictureFolder + "/recipe.html";
        }
        const QByteArray templateBytes = CopyTemplate(copyPath);

        db::Query row(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE [ID]=?1", {recipelist::idOf(sRecipeKey)});
        if (!row.next())
            return {};

        const QByteArray charset = text::PageCharset(templateBytes);
        QString pictureWritten;
        const QString page =
            FillPage(text::DecodePage(templateBytes, charset), row, pictureFolder, pictureName,
                     bEmail ? -1 : pagetext::kShownChars, &pictureWritten) + "\r\n";
        text::writeAllBytes(pagePath, text::EncodePage(page, charset));
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

