#include "platform/text/TextRules.h"

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

QString properCase(const QString& s)
{
    QString out = s;
    bool startOfWord = true;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c == ' ') {
            startOfWord = true;
            continue;
        }
        out[i] = startOfWord ? c.toUpper() : c.toLower();
        startOfWord = false;
    }
    return out;
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
