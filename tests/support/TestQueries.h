#pragma once
// Single values read back from a database in tests.
#include "core/basDatabase.h"

#include <QStringList>
#include <QVariantMap>
#include <initializer_list>

// The first column of the query's first row; -1 when there is no row.
inline qint64 scalar(db::Connection& cn, const QString& sql, std::initializer_list<QVariant> values = {})
{
    db::Query q(cn, sql, values);
    return q.next() ? q.value(0).toLongLong() : -1;
}

// How many recipes the open cookbook holds.
inline qint64 recipeCount() { return scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES"); }

// Inserts a recipe into the open cookbook with exactly the given columns (the others take their
// defaults); returns its ID.
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
