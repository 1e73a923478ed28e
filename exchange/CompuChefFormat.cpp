#include "exchange/CompuChefFormat.h"

bool IsCompuChefStartLine(const QString& line)
{
    return line.contains(QLatin1String("*****"));
}

bool IsCompuChefTrailerLine(const QString& line)
{
    return line.contains(QLatin1String(kCompuChefTrailer));
}
