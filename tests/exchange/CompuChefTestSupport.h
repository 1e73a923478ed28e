#pragma once
// Small helpers shared by the Compu-Chef tests: stored rows read back, and the shared file and row helpers.
#include "core/basDatabase.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"

#include <map>
#include <string>

namespace compuchef_test {

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
