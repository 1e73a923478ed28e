#include "exchange/CompuChefFormat.h"

#include <QStringMatcher>

bool IsCompuChefStartLine(const QString& line)
{
    return line.contains(QLatin1String("*****"));
}

bool IsCompuChefTrailerLine(const QString& line)
{
    static const QStringMatcher trailer(QString::fromLatin1(kCompuChefTrailer));
    return trailer.indexIn(line) >= 0;
}
