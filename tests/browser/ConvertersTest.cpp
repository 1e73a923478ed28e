#include "browser/UnitConversions.h"
#include "browser/frmconverters.h"

#include "platform/AppError.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace conversions;

namespace {

// Makes `locale` the user's locale for as long as it lives.
class UserLocale {
public:
    explicit UserLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~UserLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

struct Conversion {
    QString value;
    int from, to;
    QString expected;
};

// Unit positions used below.
enum Weight { Grains = 0, Grams = 3, OuncesAvoir = 7, PoundsAvoir = 11, Kilograms = 12 };
enum Temperature { Celsius = 0, Fahrenheit = 1, Rankine = 2, Reaumur = 3, Kelvin = 4 };
enum Volume {
    BarrelUsSpirits = 9, CubicKilometre = 23, CubicMetre = 24, GallonUsLiquid = 36, Litre = 45, Millilitre = 49
};

// A value typed on a page, converted as its Convert button does.
QString convert(QString (*conversion)(double, int, int), const QString& text, int from, int to)
{
    const std::optional<double> value = typedNumber(text);
    if (!value)
        return "<not a number>";
    try {
        return conversion(*value, from, to);
    } catch (const AppError&) {
        return "<failed>";
    }
}

TEST(UnitConversions, WeightConvertsWithTwoDecimals)
{
    ASSERT_EQ(weightUnits().size(), 20);
    const Conversion cases[] = {
        {"1", PoundsAvoir, Grams, "453.60"},
        {"2", Kilograms, PoundsAvoir, "4.41"},
        {"1", Grains, PoundsAvoir, "0.00"},
        {"2.5", Kilograms, PoundsAvoir, "5.51"},
        {"16", OuncesAvoir, PoundsAvoir, "1.00"},
        {"-3", PoundsAvoir, OuncesAvoir, "-48.00"},
        {"2.7", Grams, Grams, "2.7"},             // same unit: the value
        {"2.7", -1, Grams, "2.7"},                // no unit chosen
        {"12abc", Grams, Grams, "<not a number>"},
        {"abc", Grams, PoundsAvoir, "<not a number>"},
        {"1 000", Grams, Grams, "<not a number>"},
        {"2147483647", Grams, Grams, "2147483647"},
        {"2147483648", Grams, Grams, "<failed>"}, // beyond 32 bits
        {"1e300", Grams, PoundsAvoir, "<failed>"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(convert(ConvertWeight, c.value, c.from, c.to), c.expected)
            << c.value.toStdString() << " " << c.from << "->" << c.to;
}

TEST(UnitConversions, TemperatureGoesThroughKelvin)
{
    ASSERT_EQ(temperatureUnits().size(), 5);
    const Conversion cases[] = {
        {"100", Celsius, Fahrenheit, "212"},
        {"100", Fahrenheit, Celsius, "37.777777777778"},
        {"-40", Celsius, Fahrenheit, "-40"},
        {"300", Kelvin, Celsius, "26.85"},
        {"80", Reaumur, Celsius, "100"},
        {"491.67", Rankine, Celsius, "0"},
        {"0", Celsius, Kelvin, "273.15"},
        {"20", Celsius, Celsius, "20"},           // still through kelvin
        {" 7 ", Kelvin, Kelvin, "7"},
        {"7", -1, -1, "7"},
        {"0.00001", Kelvin, Rankine, "1.8E-05"},
        {"abc", Celsius, Fahrenheit, "<not a number>"},
        {"1 1/2", Celsius, Celsius, "<not a number>"},
        {"1e308", Celsius, Rankine, "<failed>"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(convert(ConvertTemperature, c.value, c.from, c.to), c.expected)
            << c.value.toStdString() << " " << c.from << "->" << c.to;
}

TEST(UnitConversions, VolumeUsesTheFactorTable)
{
    ASSERT_EQ(volumeUnits().size(), 68);
    EXPECT_EQ(volumeUnits()[Litre], "litre");
    const Conversion cases[] = {
        {"1", GallonUsLiquid, Litre, "3.78541184"},
        {"1", BarrelUsSpirits, Litre, "151.41647"},
        {"2", CubicMetre, Litre, "2000"},
        {"0.5", Litre, Millilitre, "500"},
        {" 3 ", Litre, Millilitre, "3000"},
        {"1", Millilitre, CubicKilometre, "1E-15"},
        {"5", Litre, Litre, "5"},
        {"", Litre, Millilitre, "<not a number>"},
        {"12abc", Litre, Millilitre, "<not a number>"},
        {"5 cups", Litre, Litre, "<not a number>"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(convert(ConvertVolume, c.value, c.from, c.to), c.expected)
            << c.value.toStdString() << " " << c.from << "->" << c.to;
    EXPECT_EQ(FractionToDecimal("453.6/.2"), "2268") << "the tables are read in the C locale";
}

TEST(UnitConversions, FractionToDecimalReadsMixedNumbersAndFractions)
{
    const std::pair<QString, QString> cases[] = {
        {"453.6/.2", "2268"}, {"1 1/2", "1.5"},  {"  16 ", "16"}, {"", "0"},      {"   ", "0"},
        {"1/3", "0.333333333333333"}, {"1/0", ""}, {"x/2", ""},  {"1 x", ""},    {".0004536", "0.0004536"},
        {"1/2240", "0.000446428571428571"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(FractionToDecimal(text), expected) << text.toStdString();
}

// A "." before exactly three digits is a thousands separator where the locale groups with ".", so there
// it is refused rather than read as a decimal point; elsewhere each locale reads what its users write.
TEST(UnitConversions, ANumberIsNeverReadAsADifferentOneInTheUsersLocale)
{
    const struct {
        QLocale locale;
        QString typed;
        QString shown; // kilograms to grams
    } cases[] = {
        {QLocale("de_DE"), "1.000", "<not a number>"},
        {QLocale("de_DE"), "2.500", "<not a number>"},
        {QLocale("de_DE"), "1.000.000", "<not a number>"},
        {QLocale("de_DE"), "0.125", "<not a number>"},
        {QLocale("de_DE"), "1.000,5", "<not a number>"},
        {QLocale("de_DE"), "1.5", "1500,00"},
        {QLocale("de_DE"), "1.25", "1250,00"},
        {QLocale("de_DE"), "1,000", "1000,00"},
        {QLocale("de_DE"), "1,5", "1500,00"},
        {QLocale("it_IT"), "1.000", "<not a number>"},
        {QLocale("es_ES"), "1.000", "<not a number>"},
        {QLocale("tr_TR"), "1.000", "<not a number>"},
        {QLocale("pt_BR"), "1.000", "<not a number>"},
        {QLocale("fr_FR"), "1.000", "1000,00"},
        {QLocale("fr_FR"), "1,5", "1500,00"},
        {QLocale("fr_FR"), "1 000", "<not a number>"},
        {QLocale("en_US"), "1.000", "1000.00"},
        {QLocale("en_US"), "1.5", "1500.00"},
        {QLocale("en_US"), "1,000", "<not a number>"},
        {QLocale("en_US"), "1,5", "<not a number>"},
        {QLocale("pl_PL"), "1.000", "1000,00"},
        {QLocale("pl_PL"), "1,5", "1500,00"},
        {QLocale("pl_PL"), QString("1") + QChar(0xA0) + "000", "<not a number>"},
        {QLocale("pl_PL"), "1 000", "<not a number>"},
    };
    for (const auto& c : cases) {
        UserLocale user(c.locale);
        EXPECT_EQ(convert(ConvertWeight, c.typed, Kilograms, Grams), c.shown)
            << c.locale.name().toStdString() << " " << c.typed.toStdString();
    }
}

class Converters : public ::testing::Test {
protected:
    static void choose(QListWidget* list, int row) { list->setCurrentRow(row); }
    static int visiblePage(const frmconverters& dlg)
    {
        int shown = -1;
        for (int i = 0; i < dlg.fraOption.size(); ++i)
            if (dlg.fraOption[i]->isVisible())
                shown = shown == -1 ? i : -2;
        return shown;
    }
    UiRecorder recorder;
};

TEST_F(Converters, OpenOnTheWeightPageWithTheUnitListsAndNothingChosen)
{
    frmconverters dlg;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Conversions..");
    EXPECT_EQ(visiblePage(dlg), 0);
    dlg.cmdAction_Click(2);
    EXPECT_EQ(visiblePage(dlg), 2);
    dlg.cmdAction_Click(1);
    EXPECT_EQ(visiblePage(dlg), 1);
    dlg.cmdAction_Click(3);
    EXPECT_EQ(visiblePage(dlg), 1);

    const std::pair<QListWidget*, QListWidget*> lists[] = {
        {dlg.lstWeightFrom, dlg.lstWeightTo}, {dlg.lstTempFrom, dlg.lstTempTo}, {dlg.lstVolFrom, dlg.lstvolTo}};
    const int sizes[] = {20, 5, 68};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(lists[i].first->count(), sizes[i]);
        ASSERT_EQ(lists[i].second->count(), sizes[i]);
        for (int row = 0; row < sizes[i]; ++row)
            EXPECT_EQ(lists[i].first->item(row)->text(), lists[i].second->item(row)->text());
        EXPECT_TRUE(lists[i].first->selectedItems().isEmpty());
        EXPECT_TRUE(lists[i].second->selectedItems().isEmpty());
    }
}

TEST_F(Converters, ConvertButtonsFillTheirResultAndAFailureEmptiesIt)
{
    frmconverters dlg;
    dlg.txtWeight->setText("2");
    choose(dlg.lstWeightFrom, Kilograms);
    choose(dlg.lstWeightTo, PoundsAvoir);
    dlg.cmdConvert_Click();
    EXPECT_EQ(dlg.txtResult->text(), "4.41");
    dlg.txtWeight->setText("99999999999");
    dlg.cmdConvert_Click();
    EXPECT_EQ(dlg.txtResult->text(), "") << "no earlier result beside a value that could not be converted";
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "\"99999999999\" is too large to convert.");

    dlg.txtTempValue->setText("100");
    choose(dlg.lstTempFrom, Celsius);
    choose(dlg.lstTempTo, Fahrenheit);
    dlg.cmdTempConvert_Click();
    EXPECT_EQ(dlg.txtTempResult->text(), "212");

    dlg.txtVolumeValue->setText("1");
    choose(dlg.lstVolFrom, GallonUsLiquid);
    choose(dlg.lstvolTo, Litre);
    dlg.cmdVolConvert_Click();
    EXPECT_EQ(dlg.txtVolResult->text(), "3.78541184");
}

// Under a decimal-comma locale each page reads a value typed with the comma or with "." whole and shows
// its result with the comma; any other text gets the failure message, never a number read from part of it.
TEST_F(Converters, EveryPageReadsAndShowsNumbersTheWayTheUsersLocaleWritesThem)
{
    UserLocale german(QLocale(QLocale::German, QLocale::Germany));
    frmconverters dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    struct Page {
        QLineEdit* value;
        QListWidget *from, *to;
        QLineEdit* result;
    };
    const Page pages[] = {{dlg.txtWeight, dlg.lstWeightFrom, dlg.lstWeightTo, dlg.txtResult},
                          {dlg.txtTempValue, dlg.lstTempFrom, dlg.lstTempTo, dlg.txtTempResult},
                          {dlg.txtVolumeValue, dlg.lstVolFrom, dlg.lstvolTo, dlg.txtVolResult}};
    const struct {
        int page;
        const char* typed;
        int from, to;
        QString shown; // "" for the failure message
    } cases[] = {
        {0, "2,7", Kilograms, Grams, "2700,00"},
        {0, "2.7", Kilograms, Grams, "2700,00"},
        {0, "1", PoundsAvoir, Grams, "453,60"},
        {0, "0,5", Grams, Grams, "0,5"},
        {0, "2,7,3", Kilograms, Grams, ""},
        {0, "1.000,5", Kilograms, Grams, ""},
        {0, "1.000", Kilograms, Grams, ""},
        {1, "36,6", Celsius, Fahrenheit, "97,88"},
        {1, "36.6", Celsius, Fahrenheit, "97,88"},
        {1, "100", Fahrenheit, Celsius, "37,777777777778"},
        {1, "-12,5", Kelvin, Kelvin, "-12,5"},
        {1, "36,6 Grad", Celsius, Fahrenheit, ""},
        {2, "1,5", Litre, Millilitre, "1500"},
        {2, "1.5", Litre, Millilitre, "1500"},
        {2, "0,5", GallonUsLiquid, Litre, "1,89270592"},
        {2, "zwei", Litre, Millilitre, ""},
        {2, "", Litre, Millilitre, ""},
    };
    for (const auto& c : cases) {
        const Page& p = pages[c.page];
        dlg.cmdAction_Click(c.page);
        choose(p.from, c.from);
        choose(p.to, c.to);
        p.result->setText("1234,5"); // an earlier result
        p.value->clear();
        p.value->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(c.typed));
        recorder.boxes.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(p.result->text(), c.shown) << c.typed;
        if (c.shown.isEmpty()) {
            ASSERT_EQ(recorder.boxes.size(), 1) << c.typed;
            EXPECT_EQ(recorder.boxes[0].title, "Conversions..");
            EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
            EXPECT_TRUE(recorder.boxes[0].text.contains("2,5")) << recorder.boxes[0].text.toStdString();
            if (*c.typed)
                EXPECT_TRUE(recorder.boxes[0].text.startsWith(QString("\"%1\" is not a number").arg(c.typed)));
            EXPECT_EQ(QApplication::focusWidget(), p.value) << "the value box again, for retyping";
        } else {
            EXPECT_TRUE(recorder.boxes.isEmpty()) << c.typed;
        }
    }

    // Under a decimal-point locale a comma is no decimal separator.
    UserLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    dlg.cmdAction_Click(0);
    choose(dlg.lstWeightFrom, Kilograms);
    choose(dlg.lstWeightTo, Grams);
    for (const auto& [typed, shown] : {std::pair{"2.7", "2700.00"}, std::pair{"2,7", ""}}) {
        dlg.txtWeight->setText(typed);
        dlg.cmdConvert_Click();
        EXPECT_EQ(dlg.txtResult->text(), shown) << typed;
    }
}

TEST_F(Converters, CalculatorStartsTheFirstOneOnThePathOrSaysItIsMissing)
{
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    frmconverters dlg;
    dlg.cmdCalc_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Failed to launch Calculator. It may not be installed.");
    EXPECT_EQ(recorder.boxes[0].title, "Calculator");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
    EXPECT_TRUE(recorder.started.isEmpty());

    for (const char* name : {"xcalc", "galculator"}) {
        writeBytes(bin.path() + "/" + name, "#!/bin/sh\n");
        QFile(bin.path() + "/" + name).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    dlg.cmdCalc_Click();
    qputenv("PATH", path);
    ASSERT_EQ(recorder.started.size(), 1);
    EXPECT_EQ(recorder.started[0], QStringList{bin.path() + "/galculator"});
    EXPECT_EQ(recorder.boxes.size(), 1);
}

} // namespace
