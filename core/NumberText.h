#pragma once
// Numbers read from text: settings values and keys kept in tree nodes.
#include <QString>
#include <optional>

// The number the text begins with (after leading blanks: sign, digits, decimal point, exponent), 0 when
// it begins with none: "1300abc" is 1300, "abc" is 0.
double leadingNumber(const QString& text);

// The whole text (blanks around it allowed) as a number; nothing when it is empty or not a number.
std::optional<double> toNumber(const QString& text);
