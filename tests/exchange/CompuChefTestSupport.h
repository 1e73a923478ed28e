#pragma once
// Small helpers shared by the Compu-Chef tests: rows in and out of the open cookbook, files in and out.
#include "core/basDatabase.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"

#include <QStringList>
#include <QVariantMap>
#include <map>
#include <string>

namespace compuchef_test {

// Inserts a row into the open cookbook's RECIPES with the given column values.
inline void insertRow(const QVariantMap& values)
{
    QStringList columns, marks;
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << it.key();
        marks << QString("?%1").arg(columns.size());
    }
    db::Query q(basDatabase::cnCookbook,
                "INSERT INTO RECIPES (" + columns.join(", ") + ") VALUES (" + marks.join(", ") + ")");
    int i = 1;
    for (const QVariant& v : values)
        q.bind(i++, v);
    q.exec();
}

using Row = std::map<std::string, std::string>;

// The stored row with that title, column names in capitals, Null as "<null>"; empty when there is none.
inline Row rowByTitle(const QString& title)
{
    db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE TITLE=?1", {title});
    Row row;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            row[q.columnName(i).toUpper().toStdString()] =
                q.value(i).isNull() ? "<null>" : q.value(i).toString().toStdString();
    return row;
}

} // namespace compuchef_test
