#include "platform/text/TextRules.h"

#include <QLocale>
#include <unicode/ucasemap.h>
#include <unicode/ustring.h>

namespace text {

QString trimLeftBlanks(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return s.mid(i);
}

QString trimRightBlanks(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.left(n);
}

QStringView trimBlanksView(QStringView s)
{
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == u' ')
        ++from;
    while (to > from && s[to - 1] == u' ')
        --to;
    return s.sliced(from, to - from);
}

QString trimBlanks(const QString& s)
{
    const QStringView t = trimBlanksView(s);
    return t.size() == s.size() ? s : t.toString(); // no copy when there is nothing to trim
}

namespace {

const UChar* utf16(const QString& s) { return reinterpret_cast<const UChar*>(s.utf16()); }

// Runs an ICU string function that writes into a buffer of a given size, growing it once when too small.
template <class Map>
QString mapped(const QString& s, Map map)
{
    QString out(s.size() + 8, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    int32_t n = map(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(n);
        status = U_ZERO_ERROR;
        n = map(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), status);
    }
    if (U_FAILURE(status))
        return s;
    out.truncate(n);
    return out;
}

} // namespace

QString properCase(const QString& s)
{
    // ICU's case mapping of the user's language, one blank-separated word at a time: the word's first
    // character in title case, the rest in lower case (a final Greek sigma as "ς").
    const QByteArray locale = QLocale().name().toLatin1();
    const bool turkic = QLocale().language() == QLocale::Turkish || QLocale().language() == QLocale::Azerbaijani;
    UErrorCode status = U_ZERO_ERROR;
    UCaseMap* caseMap =
        ucasemap_open(locale.constData(), U_TITLECASE_WHOLE_STRING | U_TITLECASE_NO_BREAK_ADJUSTMENT, &status);
    if (U_FAILURE(status))
        return s;
    QString out;
    out.reserve(s.size());
    qsizetype i = 0;
    while (i < s.size()) {
        qsizetype end = i;
        while (end < s.size() && s[end] != u' ')
            ++end;
        QString word = s.mid(i, end - i);
        if (!turkic) // elsewhere a small İ is a plain i, not an i with the dot kept as a mark of its own
            for (qsizetype k = 1; k < word.size(); ++k)
                if (word[k] == QChar(0x130))
                    word[k] = u'I';
        out += mapped(word, [&](UChar* to, int32_t size, UErrorCode& st) {
            return ucasemap_toTitle(caseMap, to, size, utf16(word), static_cast<int32_t>(word.size()), &st);
        });
        while (end < s.size() && s[end] == u' ')
            out += s[end++];
        i = end;
    }
    ucasemap_close(caseMap);
    return out;
}

QString caseBlind(const QString& s)
{
    QString t = s;
    t.replace(QChar(0x130), u'i').replace(QChar(0x131), u'i');
    return mapped(t, [&](UChar* to, int32_t size, UErrorCode& st) {
        return u_strFoldCase(to, size, utf16(t), static_cast<int32_t>(t.size()), U_FOLD_CASE_DEFAULT, &st);
    });
}

QString encodeApostrophes(const QString& s)
{
    if (!s.contains(u'\'')) // most values: no copy, no search for a pattern
        return s;
    return QString(s).replace('\'', QLatin1String("$$"));
}

QString decodeApostrophes(const QString& s)
{
    if (!s.contains(u'$'))
        return s;
    return QString(s).replace(QLatin1String("$$"), QLatin1String("'"));
}

QString toCrLf(const QString& s)
{
    QString t = s;
    t.replace(QChar(0x2029), '\n').replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
    return t.replace('\n', QLatin1String("\r\n"));
}

} // namespace text
