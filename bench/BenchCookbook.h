#pragma once
// What the benchmarks share: reference lists and a cookbook filled with made-up recipes, a shown main
// window on it, finding a browse-tree node, and the programs' main.
#include "Median.h"
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include <QRandomGenerator>
#include <QTreeWidget>

#include <functional>

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

inline QTreeWidgetItem* childOf(QTreeWidget* tree, const QString& rootKey, int index)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (recipelist::itemKey(tree->topLevelItem(i)) == rootKey)
            return tree->topLevelItem(i)->child(index);
    return nullptr;
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
