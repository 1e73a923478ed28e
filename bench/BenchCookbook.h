#pragma once
// What the benchmarks share: reference lists and a cookbook filled with made-up recipes, a shown main
// window on it, finding a browse-tree node, and the programs' main.
#include "Median.h"
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include <QRandomGenerator>
#include <QTreeWidget>

#include <functional>
#include <iterator>

namespace bench {

inline const int Countries = 250, Categories = 40, Ingredients = 200;

inline void fillReferenceLists()
{
    db::Transaction t(DE.cn);
    auto add = [](const char* table, const char* column, const QString& prefix, int upTo) {
        db::Query count(DE.cn, QString("SELECT COUNT(*) AS N FROM %1").arg(table));
        count.next();
        for (int i = count.value("N").toInt(); i < upTo; ++i)
            db::Query(DE.cn, QString("INSERT INTO %1 (%2) VALUES (?1)").arg(table, column),
                      {QString("%1 %2").arg(prefix).arg(i, 3, 10, QChar('0'))})
                .exec();
    };
    add("ORIGIN", "ORIGIN", "Country", Countries);
    add("CATEGORY", "CATEGORY", "Category", Categories);
    add("INGREDIENT", "INGREDIENT", "Ingredient", Ingredients);
    t.commit();
}

inline QStringList column(const char* sql, const char* name)
{
    QStringList out;
    db::Query q(DE.cn, sql);
    while (q.next())
        out << q.text(name);
    return out;
}

inline void fillCookbook(int recipes)
{
    static const char* const words[] = {"Apple", "Braised", "Creamy", "Devilled", "Easy", "French", "Golden",
                                        "Hearty", "Italian", "Jam", "Kale", "Lemon", "Mild", "Nutty", "Oven",
                                        "Pepper", "Quick", "Roast", "Spiced", "Tomato", "Umami", "Vegetable",
                                        "Warm", "Yellow", "Zesty"};
    const QStringList categories = column("SELECT CATEGORY FROM CATEGORY", "CATEGORY");
    const QStringList ingredients = column("SELECT INGREDIENT FROM INGREDIENT", "INGREDIENT");
    const QStringList origins = column("SELECT ORIGIN FROM ORIGIN", "ORIGIN");
    QRandomGenerator random(42);
    auto pick = [&](const QStringList& list) { return list[random.bounded(static_cast<int>(list.size()))]; };

    db::Transaction t(basDatabase::cnCookbook);
    db::Query insert(basDatabase::cnCookbook,
                     "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, ORIGIN, MARK) "
                     "VALUES (?1, 'Bench', ?2, ?3, 'Mix, then bake until golden.', ?4, ?5)");
    for (int i = 0; i < recipes; ++i) {
        const QString title = QString("%1 %2 %3").arg(words[random.bounded(25)], words[random.bounded(25)]).arg(i);
        QStringList lines;
        for (int k = 0; k < 6; ++k)
            lines << QString("%1 cup %2").arg(k + 1).arg(pick(ingredients));
        insert.reset();
        insert.bind(1, title)
            .bind(2, pick(categories) + "," + pick(categories))
            .bind(3, lines.join("\r\n"))
            .bind(4, pick(origins))
            .bind(5, random.bounded(10) == 0 ? 1 : 0);
        insert.exec();
    }
    t.commit();
}

// Recipes as a long-time collector keeps them: a title of a few words, two or three of ~250 categories,
// 8 to 15 ingredient lines, 5 to 20 instruction lines, and one recipe in twenty with a picture of
// 50 to 170 KB. The same seed gives the same cookbook.
inline const int RealisticCategories = 254;

inline void fillRealisticCategories()
{
    db::Transaction t(DE.cn);
    db::Query count(DE.cn, "SELECT COUNT(*) AS N FROM CATEGORY");
    count.next();
    for (int i = count.value("N").toInt(); i < RealisticCategories; ++i)
        db::Query(DE.cn, "INSERT INTO CATEGORY (CATEGORY) VALUES (?1)",
                  {QString("Category %1").arg(i, 3, 10, QChar('0'))})
            .exec();
    t.commit();
}

// Fills the open cookbook; the reference lists are those of fillReferenceLists and fillRealisticCategories.
inline void fillRealisticCookbook(int recipes)
{
    static const char* const words[] = {"Apple", "Braised", "Creamy", "Devilled", "Easy", "French", "Golden",
                                        "Hearty", "Italian", "Jam", "Kale", "Lemon", "Mild", "Nutty", "Oven",
                                        "Pepper", "Quick", "Roast", "Spiced", "Tomato", "Umami", "Vegetable",
                                        "Warm", "Yellow", "Zesty", "Chicken", "Beef", "Pork", "Lamb", "Fish"};
    static const char* const units[] = {"cup", "cups", "tbsp", "tsp", "g", "kg", "ml", "l", "oz", "lb", "pinch"};
    static const char* const steps[] = {
        "Preheat the oven to 180 C and grease a large baking dish with a little butter.",
        "Chop the onions and garlic finely, then soften them in the oil over a low heat for ten minutes.",
        "Stir in the spices and cook for another minute until they smell fragrant.",
        "Add the stock a ladle at a time, stirring well after each addition.",
        "Season to taste with salt and freshly ground black pepper.",
        "Cover and simmer gently for forty minutes, stirring now and then so nothing catches.",
        "Whisk the eggs with the sugar until pale and thick, then fold in the flour.",
        "Pour into the dish, smooth the top and bake until golden and just set in the middle.",
        "Leave to rest for ten minutes before slicing and serving with a crisp green salad."};
    const QStringList categories = column("SELECT CATEGORY FROM CATEGORY", "CATEGORY");
    const QStringList ingredients = column("SELECT INGREDIENT FROM INGREDIENT", "INGREDIENT");
    const QStringList origins = column("SELECT ORIGIN FROM ORIGIN", "ORIGIN");
    QRandomGenerator random(4242);
    auto pick = [&](const QStringList& list) { return list[random.bounded(static_cast<int>(list.size()))]; };
    auto between = [&](int low, int high) { return low + static_cast<int>(random.bounded(high - low + 1)); };
    const int wordCount = static_cast<int>(std::size(words));

    db::Transaction t(basDatabase::cnCookbook);
    db::Query insert(basDatabase::cnCookbook,
                     "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, ORIGIN, YIELD, "
                     "PREPTIME, COOKTIME, TOTALTIME, PICTURENAME, RECIPEPICTURE) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    QByteArray picture;
    for (int i = 0; i < recipes; ++i) {
        const QString title = QString("%1 %2 %3 %4")
                                  .arg(words[random.bounded(wordCount)], words[random.bounded(wordCount)],
                                       words[random.bounded(wordCount)])
                                  .arg(i);
        QStringList cats;
        for (int k = between(2, 3); k > 0; --k)
            cats << pick(categories);
        QStringList lines;
        for (int k = between(8, 15); k > 0; --k)
            lines << QString("%1 %2 %3, chopped").arg(between(1, 12)).arg(units[random.bounded(11)]).arg(
                         pick(ingredients));
        QStringList method;
        for (int k = between(5, 20); k > 0; --k)
            method << steps[random.bounded(9)];
        insert.reset();
        insert.bind(1, title)
            .bind(2, QStringLiteral("A. Collector"))
            .bind(3, cats.join(","))
            .bind(4, lines.join("\r\n"))
            .bind(5, method.join("\r\n") + "\r\n")
            .bind(6, pick(origins))
            .bind(7, QString("%1 servings").arg(between(2, 8)))
            .bind(8, QString::number(between(5, 40)))
            .bind(9, QString::number(between(10, 120)))
            .bind(10, QString::number(between(15, 160)));
        if (random.bounded(20) == 0) {
            picture.resize(between(50, 170) * 1024);
            random.fillRange(reinterpret_cast<quint32*>(picture.data()), picture.size() / 4);
            insert.bind(11, QString("picture%1.jpg").arg(i)).bind(12, picture);
        } else {
            insert.bind(11, QVariant()).bind(12, QVariant());
        }
        insert.exec();
    }
    t.commit();
}

inline QTreeWidgetItem* childOf(QTreeWidget* tree, const QString& rootKey, int index)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (recipelist::itemKey(tree->topLevelItem(i)) == rootKey)
            return tree->topLevelItem(i)->child(index);
    return nullptr;
}

// The figure with the dictionary rules (the user's order, letters at primary strength, accent-blind LIKE)
// and, as "_before", with the plain rules they replaced (the database's order, letters by LIKE, LIKE blind
// to letter case only), taken in turns so that both see the same machine; then their ratio.
inline void printBeforeAfter(const QString& name, const std::function<void()>& run)
{
    std::vector<double> before, after;
    for (int i = 0; i < 5; ++i) {
        for (bool dictionary : {false, true}) {
            text::setDictionaryRules(dictionary);
            QElapsedTimer clock;
            clock.start();
            run();
            (dictionary ? after : before).push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    text::setDictionaryRules(true);
    const double b = median(before), a = median(after);
    std::printf("%s %.1f ms\n%s_before %.1f ms\n%s_ratio %.2f ratio\n", qPrintable(name), a, qPrintable(name), b,
                qPrintable(name), a / b);
    std::fflush(stdout);
}

// Runs `body` on a shown main window whose open cookbook holds `recipes` made-up recipes, in a scratch
// program folder with large reference lists.
inline void withFilledWindow(int recipes, const std::function<void(frmMain&)>& body)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    layOutProgramFolder(root);
    paths::setProgramFolder(root);
    DE.cn.open(root + "/data/tovalquendry.mdb");
    fillReferenceLists();
    basDatabase::CreateCookbook("Bench.tqc");
    {
        frmMain window;
        window.resize(1000, 700);
        window.show();
        basDatabase::OpenCookbook("Bench.tqc");
        fillCookbook(recipes);
        window.EnableToolBarButtons();
        body(window);
        std::fflush(stdout);
        basDatabase::CloseCookbook();
    }
    DE.cn.close();
}

// Message boxes are printed and answered with their first button, so that a run never waits for a user.
class PrintingBoxes : public ui::Backend {
public:
    PrintingBoxes() : previous_(ui::install(this)) {}
    ~PrintingBoxes() override { ui::install(previous_); }
    ui::Answer messageBox(const QString& text, ui::Buttons, ui::Icon, const QString& title,
                          ui::DefaultButton) override
    {
        std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(title), qPrintable(text));
        return ui::Answer::OK;
    }
    QStringList fileDialog(const ui::FileDialogRequest&) override { return {}; }
    bool openDocument(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void playSound(const QString&) override {}

private:
    ui::Backend* previous_;
};

// A benchmark program's main: runs `bench` headless for a cookbook of 20,000 and one of 100,000 recipes.
inline int runForCookbookSizes(int argc, char** argv, void (*bench)(int recipes))
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    PrintingBoxes boxes;
    for (int recipes : {20000, 100000})
        bench(recipes);
    return 0;
}

} // namespace bench
