#include "platform/db/LetterFunction.h"

#include "platform/text/DictionaryOrder.h"

#include <sqlite3.h>

namespace db {
namespace {

QString textOf(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void underLetter(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return; // NULL
    const QString letter = textOf(argv[1]);
    if (letter.size() != 1) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    // One collator for every row of a run, kept with the letter (a constant of the statement).
    auto* order = static_cast<const text::DictionaryOrder*>(sqlite3_get_auxdata(ctx, 1));
    if (!order) {
        sqlite3_set_auxdata(ctx, 1, new text::DictionaryOrder,
                            [](void* p) { delete static_cast<text::DictionaryOrder*>(p); });
        order = static_cast<const text::DictionaryOrder*>(sqlite3_get_auxdata(ctx, 1));
    }
    const QString title = textOf(argv[0]);
    const bool under = order ? order->sortsUnderLetter(title, letter[0])
                             : text::DictionaryOrder().sortsUnderLetter(title, letter[0]);
    sqlite3_result_int(ctx, under ? 1 : 0);
}

} // namespace

void registerLetterFunction(sqlite3* db)
{
    sqlite3_create_function(db, "under_letter", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, underLetter, nullptr,
                            nullptr);
}

} // namespace db
