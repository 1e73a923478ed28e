#include "core/NumberText.h"

#include <QRegularExpression>

#include <cmath>

double leadingNumber(const QString& text)
{
    static const QRegularExpression number(R"(^\s*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?))");
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

std::optional<double> toNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
