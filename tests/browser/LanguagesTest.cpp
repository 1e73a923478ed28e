// Recipes in French, German, Polish, Greek and Japanese: the order of the lists, the letter bar, and
// search and "What can I make with?" without accents.
#include "BrowserFixture.h"

#include "browser/frmMealMaker.h"
#include "browser/frmSearch.h"
#include "support/UserLanguage.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

const char* const kTitles[] = {"Zupa",  "Żurek", "Zwiebelkuchen", "Éclair",     "Eclair",    "Île flottante",
                               "Łosoś", "Lody",  "Lukrecja",      "Œufs mimosa", "Oeufs durs", "Ärtsoppa",
                               "Apfelkuchen", "Mus", "Μουσακάς",  "寿司"};

class Languages : public BrowserTest {
protected:
    void SetUp() override
    {
        DE.cn.exec("INSERT INTO CATEGORY (CATEGORY) VALUES ('Éclairs'), ('Eis'), ('Ölgebäck'), ('Obst'), ('Zucker')");
        const QString cookbook = program.createCookbook("Family");
        for (const char* title : kTitles)
            ScratchProgram::addRecipe(QString::fromUtf8(title), "Desserts", "1 cup flour");
        ScratchProgram::addRecipe("Crème brûlée", "Desserts", "4 Eigelb\r\n500 ml Sahne");
        ScratchProgram::addRecipe("Bœuf bourguignon", "Main Dish", "1 kg Rindfleisch\r\n1 Flasche Rotwein");
        ScratchProgram::addRecipe("Straßenfest-Torte", "Desserts", "3 Äpfel\r\n200 g Mehl");
        basDatabase::CloseCookbook();
        window = openWindow(cookbook);
    }

    QStringList listed() const { return titles(window->lstVRecipes()); }

    void listAll()
    {
        window->tvRecipes()->setCurrentItem(child(window->tvRecipes(), "Recipes", "List All"));
        window->tvRecipes_DblClick();
    }

    std::unique_ptr<frmMain> window;
};

QStringList words(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* w : list)
        out << QString::fromUtf8(w);
    return out;
}

} // namespace

TEST_F(Languages, ListsSortAsTheUsersLanguageDoes)
{
    const struct {
        QLocale locale;
        QStringList all;
    } cases[] = {
        {German, words({"Apfelkuchen", "Ärtsoppa", "Bœuf bourguignon", "Crème brûlée", "Eclair", "Éclair",
                        "Île flottante", "Lody", "Łosoś", "Lukrecja", "Mus", "Oeufs durs", "Œufs mimosa",
                        "Straßenfest-Torte", "Zupa", "Żurek", "Zwiebelkuchen", "Μουσακάς", "寿司"})},
        // Polish has Ł after L and Ż after Z.
        {Polish, words({"Apfelkuchen", "Ärtsoppa", "Bœuf bourguignon", "Crème brûlée", "Eclair", "Éclair",
                        "Île flottante", "Lody", "Lukrecja", "Łosoś", "Mus", "Oeufs durs", "Œufs mimosa",
                        "Straßenfest-Torte", "Zupa", "Zwiebelkuchen", "Żurek", "Μουσακάς", "寿司"})},
    };
    for (const auto& c : cases) {
        UserLanguage language(c.locale);
        listAll();
        EXPECT_EQ(listed(), c.all) << c.locale.name().toStdString();

        window->RefreshViews();
        QStringList categories;
        for (int i = 0; i < root(window->tvRecipes(), "Categories")->childCount(); ++i)
            categories << root(window->tvRecipes(), "Categories")->child(i)->text(0);
        EXPECT_EQ(categories, words({"Desserts", "Éclairs", "Eis", "Main Dish", "Obst", "Ölgebäck", "Soups", "Zucker"}));
    }

    // A search lists its finds in the same order.
    UserLanguage language(German);
    frmSearch search(window.get());
    search.Form_Load();
    search.txtSearch->setText("e");
    search.cmdSearch_Click();
    EXPECT_EQ(listed().mid(0, 6), words({"Apfelkuchen", "Bœuf bourguignon", "Crème brûlée", "Eclair", "Éclair",
                                         "Île flottante"}));
}

TEST_F(Languages, TheLetterBarListsWhatSortsUnderEachLetter)
{
    const struct {
        QLocale locale;
        int button; // 1 = "A" ... 26 = "Z"
        QStringList expected;
    } cases[] = {
        {German, 1, words({"Apfelkuchen", "Ärtsoppa"})},
        {German, 5, words({"Eclair", "Éclair"})},
        {German, 9, words({"Île flottante"})},
        {German, 12, words({"Lody", "Łosoś", "Lukrecja"})},
        {German, 13, words({"Mus"})}, // not the Greek Mu of Μουσακάς
        {German, 15, words({"Oeufs durs", "Œufs mimosa"})},
        {German, 26, words({"Zupa", "Żurek", "Zwiebelkuchen"})},
        {Polish, 12, words({"Lody", "Lukrecja", "Łosoś"})},
        {Polish, 26, words({"Zupa", "Zwiebelkuchen", "Żurek"})},
    };
    for (const auto& c : cases) {
        UserLanguage language(c.locale);
        listAll();
        window->cmdList_Click(c.button);
        const QString letter = QString(QChar('a' + c.button - 1));
        EXPECT_EQ(listed(), c.expected) << c.locale.name().toStdString() << " " << letter.toStdString();
        EXPECT_EQ(window->statusText(),
                  QString("Found %1 recipes for List All listing (%2)").arg(c.expected.size()).arg(letter));
    }
    UserLanguage language(German);
    window->cmdList_Click(0);
    EXPECT_EQ(window->lstVRecipes()->count(), int(std::size(kTitles)) + 3);
}

TEST_F(Languages, SearchAndWhatCanIMakeWithIgnoreAccentsAsTheyIgnoreLetterCase)
{
    UserLanguage language(German);
    frmSearch search(window.get());
    search.Form_Load();
    const struct {
        QString typed;
        QStringList expected;
    } titleCases[] = {
        {"creme", words({"Crème brûlée"})},
        {"CRÈME BRULEE", words({"Crème brûlée"})},
        {"boeuf", words({"Bœuf bourguignon"})},
        {"strass", words({"Straßenfest-Torte"})},
        {"eclair", words({"Eclair", "Éclair"})},
        {"ile", words({"Île flottante"})},
        {"oeufs", words({"Oeufs durs", "Œufs mimosa"})},
        {"zurek", words({"Żurek"})},
        {"artsoppa", words({"Ärtsoppa"})},
        {"μουσακας", words({"Μουσακάς"})},
        {"Stra_e", words({"Straßenfest-Torte"})}, // "_" stands for one letter as written
        {"cr%me", words({"Crème brûlée"})},
    };
    for (const auto& c : titleCases) {
        search.txtSearch->setText(c.typed);
        search.cmdSearch_Click();
        EXPECT_EQ(listed(), c.expected) << c.typed.toStdString();
    }

    search.chkIng->setChecked(true);
    search.txtSearch->setText("sahne");
    search.cmdSearch_Click();
    EXPECT_EQ(listed(), words({"Crème brûlée"}));

    frmMealMaker mealMaker(window.get());
    const struct {
        QString typed;
        QStringList expected;
    } mealCases[] = {
        {"apfel", words({"Straßenfest-Torte"})},
        {"APFEL,mehl", words({"Straßenfest-Torte"})},
    };
    for (const auto& c : mealCases) {
        mealMaker.txtSearch->setText(c.typed);
        mealMaker.cmdOption_Click(0);
        EXPECT_EQ(listed(), c.expected) << c.typed.toStdString();
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
}
