#pragma once
// The arithmetic of the unit converters: weights through a table of units per pound, volumes through a
// table of cubic metres per unit, temperatures through kelvin. A unit is known by its position in its
// list; -1 stands for "no unit chosen". Results come back as text, as the converter boxes show them.
//
// What the user types is read as a number as a whole, with the decimal separator of the user's locale or
// with "."; the results are shown with the locale's separator. The fixed factor tables are read in the C
// locale: the leading-number reading takes the number the text begins with, blanks anywhere skipped, "."
// as decimal point, 0 when there is none; the strict reading accepts only a text that is a number as a
// whole. Numbers go to text in the general form: at most 15 significant digits, no trailing zeros,
// exponent form for very small or large ones.
//
// The conversions raise AppError (overflow) when a value or result is beyond what they convert.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace conversions {

const QStringList& weightUnits();
const QStringList& temperatureUnits();
const QStringList& volumeUnits();

double leadingNumberReading(const QString& text);
std::optional<double> strictReading(const QString& text, const QLocale& locale);
QString generalForm(double value);

// A value as the user typed it: the whole text (blanks around it allowed) as a number written with the
// decimal separator of the user's locale or with "."; nothing for any other text (empty, letters, group
// separators, two decimal separators). Where the locale groups thousands with ".", a "." followed by
// exactly three digits is refused too: "1.000" is a thousand to that user, not 1.
std::optional<double> typedNumber(const QString& text);
// A number in the general form with the decimal separator of the user's locale.
QString shownNumber(double value);

// "w n/d", "n/d" or a plain number, evaluated in the C locale; "" when a piece is no number or d is zero.
QString FractionToDecimal(const QString& text);

// The weight in the To unit with two decimals in the user's locale; the value itself when the units are
// equal or one is not chosen. A value beyond 32 bits is an overflow.
QString ConvertWeight(double value, int from, int to);
// The temperature in the To unit (through kelvin); the value itself when both units are kelvin or not
// chosen.
QString ConvertTemperature(double value, int from, int to);
// The volume in the To unit; the value itself when the units are equal or one is not chosen.
QString ConvertVolume(double value, int from, int to);

} // namespace conversions
