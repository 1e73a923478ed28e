// Times the recipe page (with a 200 KB picture), the page and the editor of recipes with very long text (a
// 1 MB run without a blank, 16 MB of ordinary lines, 1.2 million characters of Japanese), with the longest
// the event loop waits meanwhile, and the compaction of a cookbook of 20,000 recipes.
// Prints "name value unit".
#include "FreezeMeter.h"
#include "browser/PageView.h"
#include "browser/RecipePage.h"
#include "core/DE.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "core/frmCookbook.h"
#include "editor/frmAddRecipe.h"
#include <QPlainTextEdit>
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"
#include "ScratchProgramFolder.h"
#include "tests/support/Headless.h"
#include "tests/support/SilentUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QFileInfo>
#include <QImage>
#include <QBuffer>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A JPEG of about `bytes` bytes: noise compresses badly, so the size is easy to reach.
QByteArray Picture(int bytes)
{
    QImage image(640, 480, QImage::Format_RGB32);
    auto* rng = QRandomGenerator::global();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(180 + rng->bounded(60), 120 + rng->bounded(60), 60 + rng->bounded(60)));
    for (int quality = 95; quality > 5; quality -= 5) {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", quality);
        if (out.size() <= bytes)
            return out;
    }
    return {};
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* name, double value, const char* unit) { std::printf("%s %.2f %s\n", name, value, unit); }

void InsertRecipes(int count, const QByteArray& picture)
{
    db::Transaction t(basDatabase::cnCookbook);
    db::Query insert(basDatabase::cnCookbook,
                     "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, PREPTIME, COOKTIME, "
                     "ORIGIN, YIELD, PICTURENAME, RECIPEPICTURE) VALUES (?1, 'Ann', 'Dessert,Cakes', ?2, ?3, "
                     "'00:20', '00:45', 'France', '8 slices', ?4, ?5)");
    const QString ingredients = QString("2 cups flour\r\n1 cup sugar\r\n3 eggs\r\n200 g butter\r\n").repeated(3);
    const QString instructions = QString("Beat the butter and sugar until pale. Fold in the flour.\r\n").repeated(12);
    for (int i = 0; i < count; ++i) {
        insert.reset();
        insert.bind(1, "Cake " + QString::number(i)).bind(2, ingredients).bind(3, instructions);
        if (!picture.isEmpty())
            insert.bind(4, "cake.jpg").bind(5, picture);
        insert.exec();
    }
    t.commit();
}

// The longest the event loop waits while `run` runs on the GUI thread, in ms.
double LongestWait(const std::function<void()>& run) { return bench::measureFreeze(run).longestFreezeMs; }

// Writes the page of a recipe with the given text and shows it in the main window's view, as a click on
// the recipe does; reports both times, and the longest the event loop waits while the page is shown and
// while the editor opens on the recipe.
void TimeLongRecipe(const char* name, const QString& instructions)
{
    db::Query(basDatabase::cnCookbook, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
              "VALUES (?1, 'Ann', 'Soups', '1 l water', ?2)",
              {QString::fromLatin1(name), instructions})
        .exec();
    const QString key = "R" + QString::number(basDatabase::cnCookbook.lastInsertId());
    PageView view;
    view.resize(900, 700);
    view.show();
    QElapsedTimer clock;
    clock.start();
    const QString path = WriteRecipePage(key, false);
    const double written = clock.nsecsElapsed() / 1e6;
    double shown = 0;
    const double showWait = LongestWait([&] {
        clock.restart();
        view.setSource(QUrl::fromLocalFile(path));
        view.grab();
        shown = clock.nsecsElapsed() / 1e6;
    });
    Report((QByteArray(name) + "_page_write").constData(), written, "ms");
    Report((QByteArray(name) + "_page_show").constData(), shown, "ms");
    Report((QByteArray(name) + "_page_write_and_show").constData(), written + shown, "ms");
    Report((QByteArray(name) + "_page_show_longest_wait").constData(), showWait, "ms");

    // The page's note sends the reader to the editor for the rest: it opens on the whole text.
    basMain::sEditRecipeKey = key;
    {
        frmAddRecipe editor;
        double opened = 0;
        const double openWait = LongestWait([&] {
            clock.restart();
            editor.show();
            editor.Form_Load();
            editor.grab();
            opened = clock.nsecsElapsed() / 1e6;
        });
        if (editor.rtb->toPlainText().size() < instructions.size() / 2)
            std::printf("%s_editor_open failed: the recipe was not loaded\n", name);
        Report((QByteArray(name) + "_editor_open").constData(), opened, "ms");
        Report((QByteArray(name) + "_editor_open_longest_wait").constData(), openWait, "ms");
    }
}

} // namespace

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    SilentUi silent;
    ui::install(&silent);

    const ScratchProgramFolder dir;
    DE.cn.open(dir.path() + "/data/tovalquendry.mdb"); // the editor's pick lists

    // The page of a recipe with a 200 KB picture.
    basDatabase::CreateCookbook("Page.tqc");
    basDatabase::OpenCookbook("Page.tqc");
    const QByteArray picture = Picture(200 * 1024);
    InsertRecipes(1, picture);
    Report("picture_size", picture.size() / 1024.0, "KB");

    std::vector<double> page, shown;
    QTextBrowser browser;
    browser.resize(900, 700);
    browser.show();
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QString path = WriteRecipePage("R1", false);
        page.push_back(clock.nsecsElapsed() / 1e6);
        if (path.isEmpty())
            return 1;
        clock.restart();
        browser.setSource(QUrl());
        browser.clearHistory();
        browser.document()->clear();
        browser.setSource(QUrl::fromLocalFile(path));
        browser.grab(); // lays the page out, decodes and draws the picture
        shown.push_back(clock.nsecsElapsed() / 1e6);
    }
    Report("page_write_median", Median(page), "ms");
    Report("page_write_max", *std::max_element(page.begin(), page.end()), "ms");
    Report("page_show_in_browser_median", Median(shown), "ms");
    Report("page_write_and_show_median", Median(page) + Median(shown), "ms");

    TimeLongRecipe("run_1mb", QString::fromUtf8("Żurek,śledź;łosoś-").repeated(1 << 20 >> 4).left(1 << 20));
    const QString line = QString::fromUtf8("Beat the butter and sugar until pale, then fold in the flour.\r\n");
    TimeLongRecipe("lines_16mb", line.repeated((16 << 20) / line.size()));
    const QString japanese = QString::fromUtf8("鍋に水を入れて火にかけ、沸騰したら昆布とかつお節を加えて弱火で煮る。\r\n");
    TimeLongRecipe("japanese_1_2m_chars", japanese.repeated(1200000 / japanese.size()));
    basDatabase::CloseCookbook();

    // Compaction of a cookbook of 20,000 recipes, a tenth of which were deleted.
    basDatabase::CreateCookbook("Big.tqc");
    basDatabase::OpenCookbook("Big.tqc");
    InsertRecipes(22000, {});
    db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES WHERE ID <= 2000").exec();
    basDatabase::CloseCookbook();
    const QString big = dir.path() + "/data/cookbooks/Big.tqc";
    const qint64 before = QFileInfo(big).size();

    frmCookbook manager;
    for (int i = 0; i < manager.lstvCookbooks->count(); ++i)
        if (manager.lstvCookbooks->item(i)->data(frmCookbook::FileRole).toString() == "Big.tqc")
            manager.lstvCookbooks->setCurrentRow(i);
    QElapsedTimer clock;
    clock.start();
    manager.cmdAction_Click(6);
    Report("compact_20000_recipes", clock.nsecsElapsed() / 1e6, "ms");
    Report("compact_size_before", before / 1048576.0, "MB");
    Report("compact_size_after", QFileInfo(big).size() / 1048576.0, "MB");
    return 0;
}
