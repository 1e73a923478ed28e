#include "exchange/ColumnFit.h"

QString FitToSize(const QString& value, int size)
{
    if (size <= 0 || value.size() <= size) // UTF-16 units never count fewer than characters
        return value;
    qsizetype end = 0; // in UTF-16 units
    int characters = 0;
    while (end < value.size()) {
        qsizetype step = 1;
        if (value[end].isHighSurrogate() && end + 1 < value.size() && value[end + 1].isLowSurrogate())
            step = 2;
        else if (value[end] == u'$' && end + 1 < value.size() && value[end + 1] == u'$')
            step = 2; // one stored apostrophe, two characters
        const int width = step == 2 && value[end] == u'$' ? 2 : 1;
        if (characters + width > size)
            break;
        characters += width;
        end += step;
    }
    while (end > 0 && value[end - 1] == u' ')
        --end;
    return value.left(end);
}
