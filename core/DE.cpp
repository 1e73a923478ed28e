#include "core/DE.h"

#include <cmath>

namespace {
QString countOf(const char* sql, const char* column)
{
    db::Query q(DE.cn, sql);
    return q.next() ? q.value(column).toString() : QString();
}
} // namespace

void CheckReferenceDatabase()
{
    static const char* const probes[] = {
        "SELECT ID, CATEGORY FROM CATEGORY",
        "SELECT ID, INGREDIENT FROM INGREDIENT",
        "SELECT ID, MEASUREMENT FROM MEASURES",
        "SELECT ID, ORIGIN FROM ORIGIN",
        "SELECT [WINE INDEX], [WINE NAME], YEAR, TYPE, COLOUR, COUNTRY, VINEYARD, COMMENTS FROM WINES",
        "SELECT ID, CONTACTNAME, CONTACTADDRESS FROM CONTACTS",
    };
    for (const char* probe : probes)
        db::Query(DE.cn, QString(probe) + " LIMIT 0").next();
}

QString CountCategories() { return countOf("SELECT Count(*) AS CATCOUNT FROM CATEGORY;", "CATCOUNT"); }
QString CountIngredients() { return countOf("SELECT Count(*) AS INGCOUNT FROM INGREDIENT;", "INGCOUNT"); }
QString CountOrigins() { return countOf("SELECT Count(*) AS ORGCOUNT FROM ORIGIN;", "ORGCOUNT"); }

QString GetOriginName(const QString& id)
{
    if (id.isEmpty())
        return {};
    bool ok = false;
    const double number = id.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        throw AppError(AppError::TypeMismatch, "Type mismatch");
    // A whole number as a 32-bit conversion makes it: halves go to the even neighbour.
    const double whole = std::nearbyint(number);
    if (whole < -2147483648.0 || whole > 2147483647.0)
        throw AppError(AppError::Overflow, "Overflow");
    db::Query q(DE.cn, "SELECT * FROM ORIGIN WHERE [ID]=?1", {static_cast<qlonglong>(whole)});
    return q.next() ? q.text("ORIGIN") : QString();
}
