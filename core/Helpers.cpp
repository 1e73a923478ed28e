#include "core/Helpers.h"

#include "platform/paths/ProgramFolder.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(paths::resolveAbsolute(path));
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(paths::resolveAbsolute(path)).isFile();
}

void SelectAllText(QLineEdit* box)
{
    if (box)
        box->selectAll();
}

void SelectAllText(QTextEdit* box)
{
    if (box)
        box->selectAll();
}

void SelectAllText(QPlainTextEdit* box)
{
    if (box)
        box->selectAll();
}

int FilterKey(int keyCode, const QString& allowed, bool allowBackspace)
{
    if (keyCode <= 0 || keyCode > 0xFFFF)
        return 0;
    QString set = allowed.toUpper();
    if (allowBackspace)
        set += QChar(8);
    const QChar c = QChar(keyCode).toUpper();
    return set.contains(c, Qt::CaseInsensitive) ? keyCode : 0;
}

void AutoSizeColumns(QTreeWidget* list, int column)
{
    if (!list)
        return;
    if (column > 0) {
        list->resizeColumnToContents(column - 1);
    } else {
        for (int i = 0; i < list->columnCount(); ++i)
            list->resizeColumnToContents(i);
    }
    list->viewport()->update();
}

QVariant NoNull(const QVariant& value)
{
    return value.isNull() ? QVariant(QString()) : value;
}
