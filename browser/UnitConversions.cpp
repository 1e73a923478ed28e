#include "browser/UnitConversions.h"

#include "core/NumberText.h"
#include "platform/AppError.h"

#include <cmath>
#include <limits>

namespace conversions {
namespace {

// How many of each weight unit make one pound avoirdupois, in list order.
const QString WEIGHT_FACTORS = "7000,350,453.6/.2,453.6,7000/24,256,700/6,16,700/48,32.2,700/576,1,.4536,1/14,"
                               "1/25,1/32.2,.01,.0005,.0004536,1/2240";

// Cubic metres per volume unit, in list order.
const QString VOLUME_FACTORS =
    "1233.4818,1233.489,102.79015,0.14320184,0.16365924,0.11562712,0.117347778,0.11924047,0.15898729,"
    "0.15141647,0.002359737,0.01818384,0.03636872,0.03523907,0.00001,3.6245564,0.45306955,0.000001,0.144,"
    "0.001,1000,0.028316846592,0.000016387064,1000000000,1,4168181800,0.000000001,0.764554857984,"
    "0.0002273045,0.0002,0.00023658824,0.0001,0.01,0.00075708236,0.00454609,0.0044048838,0.00378541184,"
    "0.00014206531,0.00011829412,10000,0.1,0.28640367,0.238480942392,0.000044360294,1,0.001,0.0077,1000,"
    "0.000000001,0.000001,0.000028413063,0.00002957353,0.00909218,0.0088097675,0.00056826125,0.00055061047,"
    "0.00047317647,0.49097772,0.47696188,0.00002957353,0.00114504,0.00108,0.0011365225,0.0011012209,"
    "0.00094635295,0.29094976,0.0000011838776,1";

[[noreturn]] void overflow() { throw AppError(AppError::Overflow, "Overflow"); }

// The factor at `index` of a table; a unit outside the table is an error.
QString factor(const QString& table, int index)
{
    const QStringList factors = table.split(',');
    if (index < 0 || index >= factors.size())
        throw AppError(9, "Subscript out of range");
    return factors[index];
}

double checked(double value)
{
    if (!std::isfinite(value))
        overflow();
    return value;
}

// One step through kelvin: the working text read, converted and written back.
QString kelvinStep(const QString& working, double (*convert)(double))
{
    return generalForm(convert(leadingNumberReading(working)));
}

} // namespace

const QStringList& weightUnits()
{
    static const QStringList units{"Grains", "Scruples (Apoth.)", "Carats", "Grams", "Pennyweight",
                                   "Dram (Avoir.)", "Dram (Apoth.)", "Ounces (Avoir.)", "Ounces (Troy,Apoth.)",
                                   "Poundals", "Pounds (Troy)", "Pounds (Avoir.)", "Kilograms", "Stones",
                                   "Quarter (US)", "Slugs", "100 weight (US cwt)", "Short tons",
                                   "Metric tons (tonne)", "Long tons"};
    return units;
}

const QStringList& temperatureUnits()
{
    static const QStringList units{"degree Celsius", "degree Fahrenheit", "degree Rankine", "degree Reaumur",
                                   "kelvin"};
    return units;
}

const QStringList& volumeUnits()
{
    static const QStringList units{
        "acre foot", "acre foot [US survey]", "acre inch", "barrel [UK, wine]", "barrel [UK]",
        "barrel [US, dry]", "barrel [US, federal]", "barrel [US, liquid]", "barrel [US, petroleum]",
        "barrel [US, spirits]", "board foot", "bucket [UK]", "bushel [UK]", "bushel [US, dry]", "centilitre",
        "cord [firewood]", "cord foot [timber]", "cubic centimetre (cc)", "cubic cubit [ancient egypt]",
        "cubic decimetre", "cubic dekametre", "cubic foot", "cubic inch", "cubic kilometre", "cubic metre",
        "cubic mile", "cubic millimetre", "cubic yard", "cup [Canada]", "cup [metric]", "cup [US]", "decilitre",
        "dekalitre", "fifth", "gallon [UK]", "gallon [US, dry]", "gallon [US, liquid]", "gill [UK]", "gill [US]",
        "hectare metre", "hectolitre", "hogshead [UK]", "hogshead [US]", "jigger", "kilolitre", "litre",
        "measure [ancient hebrew]", "megalitre", "microlitre", "millilitre", "ounce [UK, liquid]",
        "ounce [US, liquid]", "peck [UK]", "peck [US]", "pint [UK]", "pint [US, dry]", "pint [US, liquid]",
        "pipe [UK]", "pipe [US]", "pony", "quart [Germany]", "quart [ancient hebrew]", "quart [UK]",
        "quart [US, dry]", "quart [US, liquid]", "quarter [UK, liquid]", "scruple [UK, liquid]", "stere"};
    return units;
}

double leadingNumberReading(const QString& text)
{
    QString packed = text;
    packed.remove(' ').remove('\t').remove('\n').remove('\r');
    return leadingNumber(packed);
}

std::optional<double> strictReading(const QString& text, const QLocale& locale)
{
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString generalForm(double value)
{
    checked(value);
    if (value == 0)
        return "0"; // also for -0
    return QString::number(value, 'G', 15);
}

QString FractionToDecimal(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return "0";
    const QLocale c = QLocale::c();
    std::optional<double> result;
    const auto fraction = [&](const QString& n, const QString& d) -> std::optional<double> {
        const std::optional<double> num = strictReading(n, c), den = strictReading(d, c);
        if (!num || !den || *den == 0)
            return std::nullopt;
        return *num / *den;
    };
    if (const int blank = t.indexOf(' '); blank >= 0) {
        const QString rest = t.mid(blank + 1);
        const int slash = rest.indexOf('/');
        const std::optional<double> whole = strictReading(t.left(blank), c);
        const std::optional<double> part = slash < 0 ? std::nullopt : fraction(rest.left(slash), rest.mid(slash + 1));
        if (whole && part)
            result = *part + *whole;
    } else if (const int slash = t.indexOf('/'); slash >= 0) {
        result = fraction(t.left(slash), t.mid(slash + 1));
    } else {
        result = strictReading(t, c);
    }
    return result && std::isfinite(*result) ? generalForm(*result) : QString();
}

namespace {
// True when a "." in `text` is followed by exactly three digits: where the user's locale groups thousands
// with ".", "1.000" is a thousand to its user, and reading it as 1 would be a believable wrong number.
bool dotCouldGroupThousands(const QString& text)
{
    for (qsizetype i = text.indexOf(u'.'); i >= 0; i = text.indexOf(u'.', i + 1)) {
        qsizetype digits = 0;
        while (i + 1 + digits < text.size() && text[i + 1 + digits].isDigit())
            ++digits;
        if (digits == 3)
            return true;
    }
    return false;
}
} // namespace

std::optional<double> typedNumber(const QString& text)
{
    // Group separators are refused: "1.000" under a decimal-comma locale is neither a thousand nor
    // read with "." as the decimal point.
    QLocale user;
    if (user.groupSeparator() == u"." && dotCouldGroupThousands(text))
        return std::nullopt;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    if (const std::optional<double> value = strictReading(text, user))
        return value;
    return strictReading(text, c);
}

QString shownNumber(double value)
{
    checked(value);
    if (value == 0)
        return "0"; // also for -0
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'G', 15);
}

QString ConvertWeight(double value, int from, int to)
{
    if (!(std::abs(value) <= std::numeric_limits<qint32>::max()))
        overflow();
    if (from == to || from == -1 || to == -1)
        return shownNumber(value);
    const std::optional<double> fromFactor = strictReading(FractionToDecimal(factor(WEIGHT_FACTORS, from)), QLocale::c());
    const std::optional<double> toFactor = strictReading(FractionToDecimal(factor(WEIGHT_FACTORS, to)), QLocale::c());
    if (!fromFactor || !toFactor)
        throw AppError(AppError::TypeMismatch, "Type mismatch");
    const QString ratio = generalForm(checked(*toFactor / *fromFactor));
    const double product = leadingNumberReading(generalForm(value * leadingNumberReading(ratio)));
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(product, 'f', 2);
}

QString ConvertTemperature(double value, int from, int to)
{
    if ((from == 4 || from == -1) && (to == 4 || to == -1))
        return shownNumber(value);
    QString working = generalForm(value);
    switch (from) {
    case 0: working = kelvinStep(working, [](double c) { return c + 273.15; }); break;
    case 1: working = kelvinStep(working, [](double f) { return (f - 32) / 1.8 + 273.15; }); break;
    case 2: working = kelvinStep(working, [](double r) { return r / 1.8; }); break;
    case 3: working = kelvinStep(working, [](double re) { return re * 1.25 + 273.15; }); break;
    default: break; // kelvin, or no unit chosen
    }
    switch (to) {
    case 0: working = kelvinStep(working, [](double k) { return k - 273.15; }); break;
    case 1: working = kelvinStep(working, [](double k) { return (k - 273.15) * 1.8 + 32; }); break;
    case 2: working = kelvinStep(working, [](double k) { return k * 1.8; }); break;
    case 3: working = kelvinStep(working, [](double k) { return (k - 273.15) / 1.25; }); break;
    default: break;
    }
    return shownNumber(leadingNumberReading(working));
}

QString ConvertVolume(double value, int from, int to)
{
    if (from == to || from == -1 || to == -1)
        return shownNumber(value);
    const double toFactor = leadingNumberReading(factor(VOLUME_FACTORS, to));
    const QString ratio = generalForm(checked(leadingNumberReading(factor(VOLUME_FACTORS, from)) / toFactor));
    return shownNumber(value * leadingNumberReading(ratio));
}

} // namespace conversions
