#include "platform/db/UnicodeLike.h"

#include <QChar>
#include <sqlite3.h>
#include <vector>

namespace db {
namespace {

// Decodes UTF-8 to case-folded code points.
void foldUtf8(const unsigned char* s, int n, std::vector<char32_t>& out)
{
    out.clear();
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n;) {
        unsigned char c = s[i];
        char32_t cp;
        int len;
        if (c < 0x80) {
            cp = c;
            len = 1;
            if (cp >= 'A' && cp <= 'Z')
                cp += 32;
            out.push_back(cp);
            i += 1;
            continue;
        } else if (c < 0xC0) {
            out.push_back(0xFFFD); // a stray continuation byte
            i += 1;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else {
            cp = c & 0x07;
            len = 4;
        }
        for (int k = 1; k < len && i + k < n; ++k)
            cp = (cp << 6) | (s[i + k] & 0x3F);
        i += len;
        out.push_back(QChar::toCaseFolded(cp));
    }
}

bool matchLike(const char32_t* p, const char32_t* pEnd, const char32_t* s, const char32_t* sEnd, char32_t esc)
{
    while (p < pEnd) {
        char32_t c = *p;
        if (c == U'%' && c != esc) {
            while (p < pEnd && *p == U'%')
                ++p;
            if (p == pEnd)
                return true;
            for (const char32_t* t = s; t <= sEnd; ++t)
                if (matchLike(p, pEnd, t, sEnd, esc))
                    return true;
            return false;
        }
        if (s == sEnd)
            return false;
        if (c == U'_' && c != esc) {
            ++p;
            ++s;
            continue;
        }
        if (esc && c == esc && p + 1 < pEnd) {
            ++p;
            c = *p;
        }
        if (c != *s)
            return false;
        ++p;
        ++s;
    }
    return s == sEnd;
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // like(pattern, text [, escape])
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return; // NULL
    char32_t esc = 0;
    if (argc == 3) {
        std::vector<char32_t> e;
        foldUtf8(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]), e);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = e[0];
    }
    thread_local std::vector<char32_t> pattern, subject;
    foldUtf8(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]), pattern);
    foldUtf8(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), subject);
    const bool m = matchLike(pattern.data(), pattern.data() + pattern.size(), subject.data(),
                             subject.data() + subject.size(), esc);
    sqlite3_result_int(ctx, m ? 1 : 0);
}
} // namespace

void registerUnicodeLike(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

} // namespace db
