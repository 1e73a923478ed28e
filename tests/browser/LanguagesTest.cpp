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

namespace {

const char* const kLetterTitles[] = {"Irmik helvası", "Ispanaklı börek", "İçli köfte", "İmam bayıldı",
                                     "Patlıcan kebabı", "Hünkâr beğendi", "Çorba", "Şakşuka", "Sütlaç",
                                     "Straßburger Zwiebelkuchen", "Łosoś wędzony", "Łódzkie pierogi",
                                     "Øresund sild", "ハンバーグ", "パンケーキ"};

// Titles whose letters are no accented forms of a plain Latin letter, or whose marks are no accents.
class LettersOfTheirOwn : public BrowserTest {
protected:
    void SetUp() override
    {
        const QString cookbook = program.createCookbook("Family");
        for (const char* title : kLetterTitles)
            ScratchProgram::addRecipe(QString::fromUtf8(title), "Desserts", "1 cup flour");
        ScratchProgram::addRecipe("Karnıyarık", "Main Dish", "4 patlıcan\r\n1 su bardağı ırmik");
        basDatabase::CloseCookbook();
        window = openWindow(cookbook);
    }

    QStringList listed() const { return titles(window->lstVRecipes()); }

    std::unique_ptr<frmMain> window;
};

} // namespace

// The letter bar lists a title under the Latin letter it starts with in every language: a Turkish user
// finds I and İ under "I", Ç under "C" and Ş under "S", like anyone else.
TEST_F(LettersOfTheirOwn, TheLetterBarListsEveryTitleUnderTheLatinLetterItStartsWith)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    const struct {
        QLocale locale;
        int button; // 1 = "A" ... 26 = "Z"
        QStringList expected;
    } cases[] = {
        {turkish, 9, words({"Irmik helvası", "Ispanaklı börek", "İçli köfte", "İmam bayıldı"})},
        {turkish, 8, words({"Hünkâr beğendi"})},
        {turkish, 3, words({"Çorba"})},
        {turkish, 19, words({"Straßburger Zwiebelkuchen", "Sütlaç", "Şakşuka"})},
        {turkish, 12, words({"Łódzkie pierogi", "Łosoś wędzony"})},
        {turkish, 15, words({"Øresund sild"})},
        {German, 9, words({"İçli köfte", "İmam bayıldı", "Irmik helvası", "Ispanaklı börek"})},
        {German, 19, words({"Şakşuka", "Straßburger Zwiebelkuchen", "Sütlaç"})},
        {Polish, 12, words({"Łosoś wędzony", "Łódzkie pierogi"})}, // Polish has Ó after O
    };
    for (const auto& c : cases) {
        UserLanguage language(c.locale);
        window->tvRecipes()->setCurrentItem(child(window->tvRecipes(), "Recipes", "List All"));
        window->tvRecipes_DblClick();
        window->cmdList_Click(c.button);
        EXPECT_EQ(listed(), c.expected) << c.locale.name().toStdString() << " " << char('a' + c.button - 1);
    }
}

// Search and "What can I make with?" find a title typed the way its users type: without the dot of İ or
// ı, without the stroke of Ł or Ø, "ss" for ß; but a kana's voicing mark is part of the letter.
TEST_F(LettersOfTheirOwn, SearchFindsLettersTypedTheWayTheirUsersTypeThem)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    const struct {
        QLocale locale;
        QString typed;
        QStringList expected;
    } cases[] = {
        {turkish, "patlican", words({"Patlıcan kebabı"})},
        {turkish, "PATLICAN", words({"Patlıcan kebabı"})},
        {turkish, "ırmik", words({"Irmik helvası"})},
        {turkish, "IÇLI", words({"İçli köfte"})},
        {turkish, "imam bayildi", words({"İmam bayıldı"})},
        {German, "STRASSBURGER", words({"Straßburger Zwiebelkuchen"})},
        {Polish, "losos", words({"Łosoś wędzony"})},
        {Polish, "lodz", words({"Łódzkie pierogi"})},
        {QLocale(QLocale::Danish, QLocale::Denmark), "oresund", words({"Øresund sild"})},
        {QLocale(QLocale::Japanese, QLocale::Japan), "パン", words({"パンケーキ"})},
        {QLocale(QLocale::Japanese, QLocale::Japan), "ハン", words({"ハンバーグ"})},
    };
    for (const auto& c : cases) {
        UserLanguage language(c.locale);
        frmSearch search(window.get());
        search.Form_Load();
        search.txtSearch->setText(c.typed);
        search.cmdSearch_Click();
        EXPECT_EQ(listed(), c.expected) << c.locale.name().toStdString() << " " << c.typed.toStdString();
    }

    UserLanguage language(turkish);
    frmMealMaker mealMaker(window.get());
    for (const char* typed : {"PATLICAN,irmik", "Patlıcan, IRMIK"}) {
        mealMaker.txtSearch->setText(QString::fromUtf8(typed));
        mealMaker.cmdOption_Click(0);
        EXPECT_EQ(listed(), words({"Karnıyarık"})) << typed;
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
}
