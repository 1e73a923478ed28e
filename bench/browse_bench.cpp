// Browsing a large cookbook: filling the recipe list by "List All", by a category and by a letter, and
// rebuilding the browse tree. Prints "name value unit" per figure (median of several runs).
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/RecipeListFiller.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const int Countries = 250, Categories = 40, Ingredients = 200;

void fillReferenceLists()
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

QStringList column(const char* sql, const char* name)
{
    QStringList out;
    db::Query q(DE.cn, sql);
    while (q.next())
        out << q.text(name);
    return out;
}

void fillCookbook(int recipes)
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

double medianMs(const std::function<void()>& run, int times = 5)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

QTreeWidgetItem* childOf(QTreeWidget* tree, const QString& rootKey, int index)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (recipelist::itemKey(tree->topLevelItem(i)) == rootKey)
            return tree->topLevelItem(i)->child(index);
    return nullptr;
}

void benchCookbook(int recipes)
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

        const QString n = QString::number(recipes);
        std::printf("refresh_views_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.RefreshViews(); }));
        int nodes = 0;
        for (QTreeWidgetItemIterator it(window.tvRecipes()); *it; ++it)
            ++nodes;
        std::printf("tree_nodes_%s %d nodes\n", qPrintable(n), nodes);

        QTreeWidget* tree = window.tvRecipes();
        tree->setCurrentItem(childOf(tree, "Recipes", 0));
        std::printf("list_all_fill_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.tvRecipes_DblClick(); }));
        std::printf("list_all_items_%s %d items\n", qPrintable(n), window.lstVRecipes()->topLevelItemCount());
        std::printf("letter_filter_all_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.cmdList_Click(0); }));
        std::printf("letter_filter_s_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.cmdList_Click(19); }));
        std::printf("letter_filter_s_items_%s %d items\n", qPrintable(n), window.lstVRecipes()->topLevelItemCount());

        tree->setCurrentItem(childOf(tree, "Categories", 7));
        std::printf("category_fill_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.tvRecipes_DblClick(); }));
        tree->setCurrentItem(childOf(tree, "Ingredients", 11));
        std::printf("ingredient_fill_%s %.1f ms\n", qPrintable(n), medianMs([&] { window.tvRecipes_DblClick(); }));
        std::fflush(stdout);
        basDatabase::CloseCookbook();
    }
    DE.cn.close();
}

} // namespace

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    for (int recipes : {20000, 100000})
        benchCookbook(recipes);
    return 0;
}
