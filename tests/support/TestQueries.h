#pragma once
// Single values read back from a database in tests.
#include "core/basDatabase.h"

#include <initializer_list>

// The first column of the query's first row; -1 when there is no row.
inline qint64 scalar(db::Connection& cn, const QString& sql, std::initializer_list<QVariant> values = {})
{
    db::Query q(cn, sql, values);
    return q.next() ? q.value(0).toLongLong() : -1;
}

// How many recipes the open cookbook holds.
inline qint64 recipeCount() { return scalar(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES"); }
