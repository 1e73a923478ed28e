#include "editor/RecipeFields.h"

#include "platform/text/TextRules.h"

#include <QRegularExpression>

namespace recipefields {
namespace {

struct Clock {
    int hours = 0;
    int minutes = 0;
};

// The hours and minutes of a time text; false when it is no time.
bool ReadTime(const QString& text, Clock& clock)
{
    static const QRegularExpression pattern("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$");
    const QRegularExpressionMatch m = pattern.match(text::trimBlanks(text));
    if (!m.hasMatch())
        return false;
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int sec = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || min > 59 || sec > 59)
        return false;
    clock = {h, min};
    return true;
}

} // namespace

bool IsTimeText(const QString& text)
{
    Clock unused;
    return ReadTime(text, unused);
}

QString TotalTime(const QString& prepTime, const QString& cookTime)
{
    Clock prep, cook;
    if (!ReadTime(prepTime, prep) || !ReadTime(cookTime, cook))
        return {};
    const int minutes = (prep.hours + cook.hours) * 60 + prep.minutes + cook.minutes;
    return QString("%1:%2").arg(minutes / 60, 2, 10, QChar('0')).arg(minutes % 60, 2, 10, QChar('0'));
}

QString IngredientLine(const QString& amount, const QString& unit, const QString& ingredient)
{
    return amount + ' ' + unit + ' ' + ingredient;
}

QStringList CategoriesFromStored(const QString& stored)
{
    const QStringList pieces = stored.split(',');
    if (pieces.size() < 2)
        return {stored};
    QStringList entries;
    for (const QString& piece : pieces)
        entries << text::trimBlanks(piece);
    return entries;
}

QStringList CategoriesFromSelection(const QString& selection)
{
    if (!selection.contains(','))
        return {selection};
    return CategoriesFromStored(selection);
}

namespace {
const QRegularExpression& LineBreak()
{
    static const QRegularExpression lineBreak("\r\n|\r|\n|\u2029");
    return lineBreak;
}
} // namespace

QString SingleLine(const QString& selection)
{
    static const QRegularExpression trailingBreaks("[\r\n\u2029]+$");
    return QString(selection).remove(trailingBreaks).replace(LineBreak(), " ");
}

QStringList LinesOfSelection(const QString& selection)
{
    const QRegularExpression& lineBreak = LineBreak();
    QStringList lines;
    for (const QString& line : selection.split(lineBreak))
        lines << text::trimBlanks(line);
    return lines;
}

QString FromCrLf(const QString& stored)
{
    // One pass: replacing every CR LF in place moves the rest of the text again for each batch of line
    // ends, which takes a second for megabytes of lines.
    QString out;
    out.reserve(stored.size());
    qsizetype from = 0;
    for (qsizetype cr = stored.indexOf(u'\r'); cr >= 0; cr = stored.indexOf(u'\r', from)) {
        out += QStringView(stored).sliced(from, cr - from);
        out += u'\n';
        from = cr + 1 < stored.size() && stored[cr + 1] == u'\n' ? cr + 2 : cr + 1;
    }
    if (from == 0)
        return stored;
    out += QStringView(stored).sliced(from);
    return out;
}

} // namespace recipefields
