#include "browser/UnitConversions.h"
#include "browser/frmconverters.h"

#include "platform/AppError.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>
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

QString weight(const QString& text, int from, int to)
{
    try {
        return ConvertWeight(wholeQuantity(text), from, to);
    } catch (const AppError&) {
        return "<failed>";
    }
}

TEST(UnitConversions, WeightConvertsWholeQuantitiesWithTwoDecimals)
{
    ASSERT_EQ(weightUnits().size(), 20);
    const Conversion cases[] = {
        {"1", PoundsAvoir, Grams, "453.60"},
        {"2", Kilograms, PoundsAvoir, "4.41"},
        {"1", Grains, PoundsAvoir, "0.00"},
        {"2.5", Kilograms, PoundsAvoir, "4.41"},  // 2.5 converts as 2 (halves to even)
        {"3.5", Kilograms, PoundsAvoir, "8.82"},  // and 3.5 as 4
        {"16", OuncesAvoir, PoundsAvoir, "1.00"},
        {"-3", PoundsAvoir, OuncesAvoir, "-48.00"},
        {"2.7", Grams, Grams, "3"},               // same unit: the whole value
        {"2.7", -1, Grams, "3"},                  // no unit chosen
        {"12abc", Grams, Grams, "12"},
        {"abc", Grams, PoundsAvoir, "0.00"},
        {"1 000", Grams, Grams, "1000"},          // blanks are skipped
        {"2147483647", Grams, Grams, "2147483647"},
        {"2147483648", Grams, Grams, "<failed>"}, // beyond 32 bits
        {"1e300", Grams, PoundsAvoir, "<failed>"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(weight(c.value, c.from, c.to), c.expected) << c.value.toStdString() << " " << c.from << "->" << c.to;
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
        {"abc", Celsius, Fahrenheit, "32"},       // no number reads as 0
        {"20", Celsius, Celsius, "20"},           // still through kelvin
        {"1 1/2", Celsius, Celsius, "11"},        // the leading-number reading skips the blank
        {" 7 x", Kelvin, Kelvin, " 7 x"},         // kelvin both ways: as typed
        {"7 x", -1, -1, "7 x"},
        {"0.00001", Kelvin, Rankine, "1.8E-05"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(ConvertTemperature(c.value, c.from, c.to), c.expected)
            << c.value.toStdString() << " " << c.from << "->" << c.to;
    EXPECT_THROW(ConvertTemperature("1e308", Celsius, Rankine), AppError);
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
        {"", Litre, Millilitre, "1000"},      // no number: one From unit in To units
        {"abc", Litre, Millilitre, "1000"},
        {"12abc", Litre, Millilitre, "1000"}, // the strict reading takes whole numbers only
        {"1", Millilitre, CubicKilometre, "1E-15"},
        {"5 cups", Litre, Litre, "5 cups"},   // same unit: as typed
        {"x", -1, Litre, "x"},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(ConvertVolume(c.value, c.from, c.to), c.expected)
            << c.value.toStdString() << " " << c.from << "->" << c.to;
}

TEST(UnitConversions, UserInputFollowsTheLocaleWhileTheTablesDoNot)
{
    UserLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ConvertVolume("1,5", Litre, Millilitre), "1500");
    EXPECT_EQ(weight("1", PoundsAvoir, Grams), "453,60");
    EXPECT_EQ(weight("2", Kilograms, PoundsAvoir), "4,41");
    EXPECT_EQ(weight("1000", PoundsAvoir, Grams), "453600,00");
    EXPECT_EQ(ConvertTemperature("100", Fahrenheit, Celsius), "37.777777777778");
    EXPECT_EQ(FractionToDecimal("453.6/.2"), "2268");
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
