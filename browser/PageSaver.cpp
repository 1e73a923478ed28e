#include "browser/PageSaver.h"

#include "browser/PageText.h"
#include "browser/RecipePage.h"
#include "core/ProtectedFiles.h"
#include "core/WholePage.h"
#include "platform/AppError.h"
#include "platform/paths/FileReplacement.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"
#include "platform/text/PageReferences.h"
#include "platform/ui/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

} // namespace

bool SavePageWithPicture(const QString& page, const QString& target, const QString& picture)
{
    wholepage::complete(); // the page on display may hold only the view's short form of a long recipe
    const QByteArray bytes = text::readAllBytes(page);
    const QByteArray charset = text::PageCharset(bytes);
    // Latin-1 maps every byte to one character and back, so the page's own bytes survive the editing.
    const QString html = QString::fromLatin1(bytes);
    const QDir pageFolder = QFileInfo(page).absoluteDir();
    const bool hasPicture = !picture.isEmpty() && QFileInfo(picture).isFile();

    static const QRegularExpression src(R"((\bsrc\s*=\s*)(["'])(.*?)\2)",
                                        QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
    QString out;
    qsizetype last = 0;
    bool showsPicture = false;
    QRegularExpressionMatchIterator it = src.globalMatch(html);
    while (hasPicture && it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString raw = m.captured(3);
        if (!sameFile(text::ReferencedFile(pagetext::Unescaped(text::DecodePage(raw.toLatin1(), charset)), pageFolder.path()), picture))
            continue;
        showsPicture = true;
        out += html.mid(last, m.capturedStart(3) - last);
        out += raw.mid(std::max(raw.lastIndexOf('/'), raw.lastIndexOf('\\')) + 1);
        last = m.capturedEnd(3);
    }
    out += html.mid(last);

    if (showsPicture) {
        const QString copy = QFileInfo(target).absoluteDir().filePath(paths::bareFileName(picture));
        if (!sameFile(copy, picture)) {
            if (QFileInfo::exists(copy)
                && ui::msgBox(QDir::toNativeSeparators(copy) + " already exists.\nDo you want to replace it?",
                              ui::Buttons::YesNo, ui::Icon::Question, "Save Recipe",
                              ui::DefaultButton::Second) != ui::Answer::Yes) {
                // The page names its picture by its bare name: without the picture beside it, the saved
                // page would show the other one.
                ui::msgBox("The recipe was not saved.", ui::Buttons::OK, ui::Icon::Information, "Save Recipe");
                return false;
            }
            RefuseProtectedFile(copy);
            paths::replaceFile(copy, text::readAllBytes(picture));
        }
    }
    RefuseProtectedFile(target);
    paths::replaceFile(target, out.toLatin1());
    return true;
}
