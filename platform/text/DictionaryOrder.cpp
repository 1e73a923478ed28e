#include "platform/text/DictionaryOrder.h"

#include <QLocale>

#include <atomic>
#include <cstring>
#include <string_view>
#include <unicode/ucol.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

namespace text {
namespace {

std::atomic<bool> rulesOn{true};

const UChar* utf16(QStringView s) { return reinterpret_cast<const UChar*>(s.utf16()); }

int length(QStringView s) { return static_cast<int>(s.size()); }

UCollator* openCollator(const QByteArray& locale, UColAttributeValue strength)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale.constData(), &status);
    if (U_FAILURE(status)) { // an unknown name falls back inside ICU; this is only a broken ICU
        status = U_ZERO_ERROR;
        collator = ucol_open("", &status);
    }
    ucol_setStrength(collator, strength);
    return collator;
}

bool startsWithLatinLetter(QStringView s)
{
    if (s.isEmpty())
        return false;
    UChar32 c;
    int i = 0;
    U16_NEXT(utf16(s), i, length(s), c);
    UErrorCode status = U_ZERO_ERROR;
    return QChar::isLetter(static_cast<char32_t>(c)) && uscript_getScript(c, &status) == USCRIPT_LATIN;
}

} // namespace

DictionaryOrder::DictionaryOrder()
{
    // The collation locale: LC_COLLATE for the system locale, else the default locale itself; "C"
    // opens ICU's root order.
    const QByteArray locale = QLocale().collation().name().toLatin1();
    full_ = openCollator(locale, UCOL_DEFAULT_STRENGTH);
    // The letter bar's letters are Latin letters, whatever the language: a Turkish "I" is not put
    // among the H's, nor a Czech "Ch" among the H's, as their own alphabets would.
    primary_ = openCollator("", UCOL_PRIMARY);
}

DictionaryOrder::~DictionaryOrder()
{
    ucol_close(full_);
    ucol_close(primary_);
}

int DictionaryOrder::compare(QStringView a, QStringView b) const
{
    return ucol_strcoll(full_, utf16(a), length(a), utf16(b), length(b));
}

bool DictionaryOrder::sortsUnderLetter(QStringView title, QChar letter) const
{
    const char16_t first = letter.toLower().unicode();
    if (first < u'a' || first > u'z')
        return false;
    if (ucol_strcoll(primary_, &first, 1, utf16(title), length(title)) > 0)
        return false;
    if (first == u'z')
        return startsWithLatinLetter(title);
    const char16_t next = first + 1;
    return ucol_strcoll(primary_, utf16(title), length(title), &next, 1) < 0;
}

std::vector<int> DictionaryOrder::orderOf(const std::vector<QString>& texts) const
{
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    if (!dictionaryRules())
        return order;

    // All keys in one buffer; each ends in a zero byte and holds no other.
    std::string keys;
    std::vector<size_t> start;
    start.reserve(texts.size() + 1);
    keys.reserve(texts.size() * 24);
    for (const QString& text : texts) {
        start.push_back(keys.size());
        const size_t at = keys.size();
        keys.resize(at + 64);
        auto* out = reinterpret_cast<uint8_t*>(keys.data() + at);
        int n = ucol_getSortKey(full_, utf16(text), length(text), out, 64);
        if (n > 64) {
            keys.resize(at + static_cast<size_t>(n));
            n = ucol_getSortKey(full_, utf16(text), length(text), reinterpret_cast<uint8_t*>(keys.data() + at), n);
        }
        keys.resize(at + static_cast<size_t>(n));
    }
    const char* base = keys.data();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::strcmp(base + start[static_cast<size_t>(a)], base + start[static_cast<size_t>(b)]) < 0;
    });
    return order;
}

QStringList sortedInDictionaryOrder(QStringList list)
{
    std::vector<QString> rows(list.begin(), list.end());
    sortInDictionaryOrder(rows, [](const QString& s) { return s; });
    return QStringList(rows.begin(), rows.end());
}

bool dictionaryRules() { return rulesOn.load(std::memory_order_relaxed); }
void setDictionaryRules(bool on) { rulesOn.store(on, std::memory_order_relaxed); }

} // namespace text
