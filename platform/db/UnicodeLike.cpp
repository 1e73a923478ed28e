#include "platform/db/UnicodeLike.h"

#include "platform/text/DictionaryOrder.h"

#include <QChar>
#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/uscript.h>
#include <unicode/ustring.h>
#include <unicode/utrans.h>
#include <string>
#include <vector>

namespace db {
namespace {

// A folded code point that continues the folding of the character before it ("e" of "œ" -> "oe").
constexpr char32_t Continues = 0x80000000u;
// A mark kept in a folded form (the voicing mark of "ガ" -> "カ" + U+3099): a match may not end before it.
constexpr char32_t KeptMark = 0x40000000u;
constexpr char32_t CodePoint = 0x3FFFFFFFu;



bool isMark(UChar32 c)
{
    const int8_t type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_COMBINING_SPACING_MARK;
}

// The i-th code point of a folded form with its flags.
char32_t flagged(char32_t c, size_t i)
{
    return c | (i ? Continues : 0) | (isMark(static_cast<UChar32>(c)) ? KeptMark : 0);
}

UScriptCode scriptOf(UChar32 c)
{
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &status);
    return U_SUCCESS(status) ? script : USCRIPT_INVALID_CODE;
}

// Marks are what users leave out when they type: the accents of Latin, Greek and Cyrillic letters, the
// vowel points of Arabic and Hebrew. A kana's voicing mark is part of the letter, though: パ is another
// syllable than ハ, and no Japanese user types one for the other.
bool isKana(UScriptCode script)
{
    return script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA || script == USCRIPT_KATAKANA_OR_HIRAGANA;
}

bool isLeftOutOn(UScriptCode base) { return !isKana(base); }

// A mark standing on its own in the text (typed after its letter, or a half-width voicing mark).
bool isLeftOutAlone(UChar32 c)
{
    const auto block = static_cast<UBlockCode>(u_getIntPropertyValue(c, UCHAR_BLOCK));
    return block != UBLOCK_HIRAGANA && block != UBLOCK_KATAKANA;
}

// ICU's Latin-ASCII transliteration of one Latin letter that has no decomposition: "ł" -> "l",
// "ø" -> "o", "ı" -> "i", "æ" -> "ae", "þ" -> "th". Only used while the table below is worked out,
// on one thread.
std::u16string latinAscii(UChar32 c)
{
    static UTransliterator* const toAscii = [] {
        UErrorCode status = U_ZERO_ERROR;
        UTransliterator* t = utrans_openU(u"Latin-ASCII", -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
        return U_SUCCESS(status) ? t : nullptr;
    }();
    UChar buffer[32];
    int32_t n = 0;
    U16_APPEND_UNSAFE(buffer, n, c);
    if (!toAscii)
        return std::u16string(buffer, buffer + n);
    int32_t limit = n;
    UErrorCode status = U_ZERO_ERROR;
    utrans_transUChars(toAscii, buffer, &n, 32, 0, &limit, &status);
    if (U_FAILURE(status))
        return {};
    return std::u16string(buffer, buffer + n);
}

// What one character becomes for matching: Unicode full case folding ("ß" -> "ss"), compatibility
// decomposition ("ﬁ" -> "fi", "ﾊ" -> "ハ") without the marks users leave out ("é" -> "e", "ό" -> "ο",
// but "パ" keeps its mark), and Latin letters without a decomposition spelt in plain Latin ("ł" -> "l",
// "ı" -> "i", "œ" -> "oe"), folded again. Latin letters are spelt out only when `spellOut` is set.
std::u32string matchingForm(char32_t cp, bool spellOut)
{
    UChar in[2];
    int32_t n = 0;
    U16_APPEND_UNSAFE(in, n, static_cast<UChar32>(cp));
    UErrorCode status = U_ZERO_ERROR;
    UChar folded[64];
    int32_t nf = u_strFoldCase(folded, 64, in, n, U_FOLD_CASE_DEFAULT, &status);
    UChar decomposed[64];
    const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
    int32_t nd = unorm2_normalize(nfkd, folded, nf, decomposed, 64, &status);
    if (U_FAILURE(status))
        return {static_cast<char32_t>(u_foldCase(static_cast<UChar32>(cp), U_FOLD_CASE_DEFAULT))};
    std::u32string out;
    UScriptCode base = USCRIPT_INVALID_CODE; // of the last letter that is no mark
    for (int32_t i = 0; i < nd;) {
        UChar32 c;
        U16_NEXT(decomposed, i, nd, c);
        if (isMark(c)) {
            if (base == USCRIPT_INVALID_CODE ? isLeftOutAlone(c) : isLeftOutOn(base))
                continue;
            out += static_cast<char32_t>(c);
            continue;
        }
        base = scriptOf(c);
        c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (c < 0x80 || !spellOut || base != USCRIPT_LATIN) {
            out += static_cast<char32_t>(c);
            continue;
        }
        const std::u16string plain = latinAscii(c);
        for (size_t k = 0; k < plain.size();) {
            UChar32 p;
            U16_NEXT(plain.data(), k, plain.size(), p);
            out += static_cast<char32_t>(u_foldCase(p, U_FOLD_CASE_DEFAULT));
        }
    }
    return out;
}

// The matching forms of the Basic Multilingual Plane, worked out once.
class MatchingForms {
public:
    MatchingForms()
    {
        start_.reserve(0x10001);
        for (char32_t cp = 0; cp < 0x10000; ++cp) {
            start_.push_back(static_cast<uint32_t>(forms_.size()));
            if (cp < 0x80) {
                forms_ += cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                forms_ += cp;
            } else {
                const std::u32string form = matchingForm(cp, true);
                for (size_t i = 0; i < form.size(); ++i)
                    forms_ += flagged(form[i], i);
            }
        }
        start_.push_back(static_cast<uint32_t>(forms_.size()));
    }
    // Appends the form of `cp`, its second and later code points flagged as continuing it, and the marks
    // it keeps flagged as such.
    void append(char32_t cp, std::vector<char32_t>& out) const
    {
        if (cp >= 0x10000) {
            const std::u32string form = matchingForm(cp, false);
            for (size_t i = 0; i < form.size(); ++i)
                out.push_back(flagged(form[i], i));
            return;
        }
        out.insert(out.end(), forms_.begin() + start_[cp], forms_.begin() + start_[cp + 1]);
    }

private:
    std::vector<uint32_t> start_;
    std::u32string forms_;
};

const MatchingForms& matchingForms()
{
    static const MatchingForms forms;
    return forms;
}

// Decodes UTF-8 to code points.
template <class Each>
void decodeUtf8(const unsigned char* s, int n, Each each)
{
    for (int i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            each(char32_t(c));
            ++i;
            continue;
        }
        if (c < 0xC0) {
            each(char32_t(0xFFFD)); // a stray continuation byte
            ++i;
            continue;
        }
        char32_t cp;
        int len;
        if ((c & 0xE0) == 0xC0) {
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
        each(cp);
    }
}

// Folds UTF-8 text for matching: accent- and case-blind, or letter case only while the dictionary rules
// are off.
void foldUtf8(const unsigned char* s, int n, std::vector<char32_t>& out)
{
    out.clear();
    out.reserve(static_cast<size_t>(n));
    if (!text::dictionaryRules()) {
        decodeUtf8(s, n, [&](char32_t cp) { out.push_back(QChar::toCaseFolded(cp)); });
        return;
    }
    const MatchingForms& forms = matchingForms();
    decodeUtf8(s, n, [&](char32_t cp) {
        if (cp < 0x80)
            out.push_back(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp);
        else
            forms.append(cp, out);
    });
}

// One element of a compiled pattern: a literal character, "_" (any one character) or "%" (any run).
struct Token {
    enum Kind { Literal, One, Run } kind;
    char32_t ch;
};

// Compiles a pattern, folding its literal characters as the text is folded: the wildcards and the
// escape character are taken from the pattern as written, so a character that folds to "%" or "_"
// (a full-width percent sign) stays a literal. False when the pattern ends in a lone escape character
// (which matches nothing).
bool compilePattern(const unsigned char* s, int n, char32_t esc, std::vector<Token>& out)
{
    thread_local std::vector<char32_t> raw, form;
    raw.clear();
    decodeUtf8(s, n, [](char32_t cp) { raw.push_back(cp); });
    out.clear();
    const bool dictionary = text::dictionaryRules();
    const MatchingForms& forms = matchingForms();
    auto literal = [&](char32_t cp) {
        if (!dictionary) {
            out.push_back({Token::Literal, QChar::toCaseFolded(cp)});
            return;
        }
        form.clear();
        if (cp < 0x80)
            form.push_back(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp);
        else
            forms.append(cp, form);
        for (char32_t c : form)
            out.push_back({Token::Literal, c & CodePoint});
    };
    for (size_t i = 0; i < raw.size(); ++i) {
        const char32_t c = raw[i];
        if (esc && QChar::toCaseFolded(c) == esc) {
            if (++i == raw.size())
                return false;
            literal(raw[i]);
        } else if (c == U'%') {
            if (out.empty() || out.back().kind != Token::Run) // "%%" is one "%"
                out.push_back({Token::Run, 0});
        } else if (c == U'_') {
            out.push_back({Token::One, 0});
        } else {
            literal(c);
        }
    }
    return true;
}

// Matches with one resume point: after a mismatch the last "%" takes one more code point and matching
// goes on from there. Earlier "%"s never need to be revisited, so the work is at most text x pattern.
// "_" takes one character of the text as written: the whole of its folded form ("ß" -> "ss").
bool matchTokens(const std::vector<Token>& pattern, const std::vector<char32_t>& text)
{
    constexpr size_t none = static_cast<size_t>(-1);
    size_t p = 0, t = 0;
    size_t runAt = none, runText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p].kind == Token::Run) {
            runAt = p++;
            runText = t;
        } else if (p < pattern.size() && pattern[p].kind == Token::One) {
            ++p;
            ++t;
            while (t < text.size() && (text[t] & Continues))
                ++t;
        } else if (p < pattern.size() && pattern[p].kind == Token::Literal && pattern[p].ch == (text[t] & CodePoint)
                   && (t + 1 == text.size() || !(text[t + 1] & KeptMark)
                       || (p + 1 < pattern.size() && pattern[p + 1].kind == Token::Literal))) {
            // (a letter whose mark follows matches only a literal that goes on to the mark)
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
        decodeUtf8(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]),
                   [&](char32_t cp) { e.push_back(QChar::toCaseFolded(cp)); });
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = e[0];
    }
    thread_local std::vector<char32_t> subject;
    thread_local std::vector<Token> tokens;
    const bool compiled = compilePattern(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]), esc, tokens);
    if (compiled)
        foldUtf8(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]), subject);
    sqlite3_result_int(ctx, compiled && matchTokens(tokens, subject) ? 1 : 0);
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
