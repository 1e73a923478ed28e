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

// One element of a compiled pattern: a literal character, "_" (any one character) or "%" (any run).
struct Token {
    enum Kind { Literal, One, Run } kind;
    char32_t ch;
};

// Compiles a folded pattern; false when it ends in a lone escape character (which matches nothing).
bool compilePattern(const std::vector<char32_t>& pattern, char32_t esc, std::vector<Token>& out)
{
    out.clear();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (esc && c == esc) {
            if (++i == pattern.size())
                return false;
            out.push_back({Token::Literal, pattern[i]});
        } else if (c == U'%') {
            if (out.empty() || out.back().kind != Token::Run) // "%%" is one "%"
                out.push_back({Token::Run, 0});
        } else if (c == U'_') {
            out.push_back({Token::One, 0});
        } else {
            out.push_back({Token::Literal, c});
        }
    }
    return true;
}

// Matches with one resume point: after a mismatch the last "%" takes one more character and matching
// goes on from there. Earlier "%"s never need to be revisited, so the work is at most text x pattern.
bool matchTokens(const std::vector<Token>& pattern, const std::vector<char32_t>& text)
{
    constexpr size_t none = static_cast<size_t>(-1);
    size_t p = 0, t = 0;
    size_t runAt = none, runText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p].kind == Token::Run) {
            runAt = p++;
            runText = t;
        } else if (p < pattern.size()
                   && (pattern[p].kind == Token::One || pattern[p].ch == text[t])) {
            ++p;
            ++t;
        } else if (runAt != none) {
            p = runAt + 1;
            t = ++runText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p].kind == Token::Run)
        ++p;
    return p == pattern.size();
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
    thread_local std::vector<Token> tokens;
    foldUtf8(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]), pattern);
    foldUtf8(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), subject);
    const bool m = compilePattern(pattern, esc, tokens) && matchTokens(tokens, subject);
    sqlite3_result_int(ctx, m ? 1 : 0);
}
} // namespace

void registerUnicodeLike(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

QString likeLiteral(QString text)
{
    return text.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
}

} // namespace db
