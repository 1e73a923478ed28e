#pragma once
// Small helpers for the XML exchange tests: recipe rows in and out of the open cookbook, files as bytes.
#include "core/basDatabase.h"

#include <QFile>
#include <QStringList>
#include <QVariantMap>

namespace xmltest {

// Inserts a recipe row with exactly the given columns (the others take their defaults); returns its ID.
inline qint64 insertRecipe(const QVariantMap& columns)
{
    QStringList marks;
    for (int i = 1; i <= columns.size(); ++i)
        marks << QString("?%1").arg(i);
    db::Query q(basDatabase::cnCookbook,
                "INSERT INTO RECIPES (" + columns.keys().join(", ") + ") VALUES (" + marks.join(", ") + ")");
    int i = 1;
    for (const QVariant& v : columns)
        q.bind(i++, v);
    q.exec();
    return basDatabase::cnCookbook.lastInsertId();
}

// The stored row with this title (exact match), every column by its name; empty when there is none.
inline QVariantMap recipeRow(const QString& storedTitle)
{
    db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE TITLE=?1 COLLATE BINARY", {storedTitle});
    QVariantMap row;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            row.insert(q.columnName(i), q.value(i));
    return row;
}

inline int recipeCount()
{
    db::Query q(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES");
    q.next();
    return q.value(0).toInt();
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace xmltest
