#pragma once
// What the benchmarks share: reference lists and a cookbook filled with made-up recipes, the median of
// several runs, and finding a browse-tree node.
#include "core/DE.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "platform/paths/ProgramFolder.h"
#include "tests/support/ProgramLayout.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <vector>

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

inline double medianMs(const std::function<void()>& run, int times = 5)
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

inline QTreeWidgetItem* childOf(QTreeWidget* tree, const QString& rootKey, int index)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (recipelist::itemKey(tree->topLevelItem(i)) == rootKey)
            return tree->topLevelItem(i)->child(index);
    return nullptr;
}

// A program folder at `root` with the large reference lists and an empty cookbook "Bench.tqc".
inline void setUpProgram(const QString& root)
{
    layOutProgramFolder(root);
    paths::setProgramFolder(root);
    DE.cn.open(root + "/data/tovalquendry.mdb");
    fillReferenceLists();
    basDatabase::CreateCookbook("Bench.tqc");
}

} // namespace bench
