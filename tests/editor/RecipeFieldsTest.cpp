// The editor's rules for times, ingredient lines, categories and copied selections.
#include "editor/RecipeFields.h"

#include <gtest/gtest.h>

using namespace recipefields;

TEST(RecipeFields, TotalTimeAddsPreparationAndCookingWithoutWrappingAtADay)
{
    const struct {
        QString prep, cook, total;
    } cases[] = {
        {"00:45", "01:30", "02:15"},
        {"0:45", "1:30", "02:15"},
        {"1:5", "0:5", "01:10"},
        {"20:00", "05:10", "25:10"},
        {"23:59", "23:59", "47:58"},
        {"00:45:50", "00:00:30", "00:45"}, // seconds are ignored
        {" 1:00 ", "1:00", "02:00"},
        {"", "01:30", ""},
        {"01:30", "", ""},
        {"24:00", "01:00", ""},
        {"01:60", "01:00", ""},
        {"130", "01:00", ""},
        {"1:30:", "01:00", ""},
        {"a:30", "01:00", ""},
        {"::", "01:00", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TotalTime(c.prep, c.cook), c.total) << c.prep.toStdString() << " + " << c.cook.toStdString();

    EXPECT_TRUE(IsTimeText("0:00"));
    EXPECT_TRUE(IsTimeText("23:59:59"));
    EXPECT_FALSE(IsTimeText(""));
    EXPECT_FALSE(IsTimeText("12"));
    EXPECT_FALSE(IsTimeText("123:00"));
}

TEST(RecipeFields, IngredientLinesKeepTheBlanksOfEmptyParts)
{
    EXPECT_EQ(IngredientLine("2", "cup", "Flour"), "2 cup Flour");
    EXPECT_EQ(IngredientLine("2", "", "eggs"), "2  eggs");
    EXPECT_EQ(IngredientLine("", "cup", "flour"), " cup flour");
    EXPECT_EQ(IngredientLine("2", "", ""), "2  ");
    EXPECT_EQ(IngredientLine(" 1/2 ", "tsp", "Salt"), " 1/2  tsp Salt");
}

TEST(RecipeFields, CategoriesFromStoredTextAndFromASelection)
{
    EXPECT_EQ(CategoriesFromStored("Desserts,Cakes"), (QStringList{"Desserts", "Cakes"}));
    EXPECT_EQ(CategoriesFromStored("Soups, Main Dish ,"), (QStringList{"Soups", "Main Dish", ""}));
    EXPECT_EQ(CategoriesFromStored(" Soups "), QStringList{" Soups "}) << "one category keeps its blanks";
    EXPECT_EQ(CategoriesFromStored(""), QStringList{""});

    EXPECT_EQ(CategoriesFromSelection("Soups, Stews,  Winter"), (QStringList{"Soups", "Stews", "Winter"}));
    EXPECT_EQ(CategoriesFromSelection("  Quick meals "), QStringList{"  Quick meals "});
}

TEST(RecipeFields, SelectionLinesSplitAtEveryKindOfLineBreak)
{
    EXPECT_EQ(LinesOfSelection("1 cup flour\r\n 2 eggs \r3 tbsp sugar\n4 g salt\u20295 ml milk"),
              (QStringList{"1 cup flour", "2 eggs", "3 tbsp sugar", "4 g salt", "5 ml milk"}));
    EXPECT_EQ(LinesOfSelection("a\u2029\u2029b\u2029"), (QStringList{"a", "", "b", ""}));
    EXPECT_EQ(LinesOfSelection("Crème brûlée — 1 €"), QStringList{"Crème brûlée — 1 €"}) << "no character lost";
    EXPECT_EQ(FromCrLf("a\r\nb\rc\nd"), "a\nb\nc\nd");

    // A line chosen for a one-line box leaves its line break behind.
    EXPECT_EQ(SingleLine("0:35\u2029"), "0:35");
    EXPECT_EQ(SingleLine(" Lemon\r\nTart \r\n"), " Lemon Tart ");
    EXPECT_EQ(SingleLine("Soups,\u2029Stews\n\n"), "Soups, Stews");
}
