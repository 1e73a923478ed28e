#pragma once
// The arithmetic of the unit converters: weights through a table of units per pound, volumes through a
// table of cubic metres per unit, temperatures through kelvin. A unit is known by its position in its
// list; -1 stands for "no unit chosen". Results come back as text, as the converter boxes show them.
//
// Two readings of text as a number are used. The leading-number reading takes the number the text begins
// with, blanks anywhere skipped, "." as decimal point, 0 when there is none ("12abc" 12, "1 1/2" 11). The
// strict reading accepts only a text that is a number as a whole. Numbers go back to text in the general
// form: at most 15 significant digits, no trailing zeros, exponent form for very small or large ones.
//
// The conversions raise AppError (overflow) when a result is no finite number.
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

// "w n/d", "n/d" or a plain number, evaluated in the C locale; "" when a piece is no number or d is zero.
QString FractionToDecimal(const QString& text);

// The whole quantity the weight page converts: the leading-number reading rounded to the nearest whole
// number, halves to the even one (2.5 gives 2). Raises AppError (overflow) beyond 32 bits.
qint32 wholeQuantity(const QString& text);

// The weight in the To unit with two decimals in the user's locale; the value itself when the units are
// equal or one is not chosen.
QString ConvertWeight(qint32 value, int from, int to);
// The temperature in the To unit; the text as typed when both units are kelvin or not chosen.
QString ConvertTemperature(const QString& value, int from, int to);
// The volume in the To unit; the text as typed when the units are equal or one is not chosen. A value
// that is no number (in the user's locale) gives the size of one From unit in To units.
QString ConvertVolume(const QString& value, int from, int to);

} // namespace conversions
