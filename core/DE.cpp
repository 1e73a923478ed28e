#include "core/DE.h"

#include <cmath>

namespace {
QString countOf(const char* sql, const char* column)
{
    db::Query q(DE.cn, sql);
    return q.next() ? q.value(column).toString() : QString();
}
} // namespace

QString CountCategories() { return countOf("SELECT Count(*) AS CATCOUNT FROM CATEGORY;", "CATCOUNT"); }
QString CountIngredients() { return countOf("SELECT Count(*) AS INGCOUNT FROM INGREDIENT;", "INGCOUNT"); }
QString CountOrigins() { return countOf("SELECT Count(*) AS ORGCOUNT FROM ORIGIN;", "ORGCOUNT"); }

QString GetOriginName(const QString& id)
{
    if (id.isEmpty())
        return {};
    bool ok = false;
    const double number = id.trimmed().toDouble(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, "Type mismatch");
    db::Query q(DE.cn, "SELECT * FROM ORIGIN WHERE [ID]=?1", {static_cast<qlonglong>(std::nearbyint(number))});
    return q.next() ? q.text("ORIGIN") : QString();
}
