// Every recipe of the real files goes out in each format and comes back with its ingredients and
// instructions whole. What a format cannot carry is left aside: the spacing of ingredient rows, dash rules
// between them, and the author line Meal-Master puts after the instructions.
#include "ImportFixture.h"

#include "exchange/cExport.h"

#include <QDirIterator>
#include <QRegularExpression>

namespace {

// The words of the ingredients, without the dashes that lay rows out (MasterCook's reader takes every
// "--" out of a row) and without control characters (XML cannot carry them).
QStringList ingredientWords(QString ingredients)
{
    static const QRegularExpression controls("[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f]");
    static const QRegularExpression separators("\\s+|-{2,}");
    QStringList words;
    for (QString w : ingredients.remove(controls).split(separators, Qt::SkipEmptyParts)) {
        while (w.startsWith(u'-'))
            w.remove(0, 1);
        while (w.endsWith(u'-'))
            w.chop(1);
        if (!w.isEmpty())
            words << w;
    }
    return words;
}

// The instruction lines, each trimmed, the blank ones left out.
QStringList instructionLines(const QString& instructions)
{
    QStringList lines;
    for (const QString& l : instructions.split(QRegularExpression("\r\n|\n|\r")))
        if (!l.trimmed().isEmpty())
            lines << l.trimmed();
    return lines;
}

struct Recipe {
    QString title;
    QStringList ingredients, instructions;
};

QList<Recipe> storedRecipes()
{
    QList<Recipe> out;
    db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES ORDER BY ID");
    while (q.next())
        out << Recipe{q.text("Title"), ingredientWords(q.text("Ingredients")),
                      instructionLines(q.text("Instructions"))};
    return out;
}

class CorpusRoundTrip : public ImportFixture {};

TEST_F(CorpusRoundTrip, EveryRecipeComesBackWholeInEveryFormat)
{
    const QString corpus = QString(TQ_SOURCE_DIR) + "/../shared/corpus";
    if (!QDir(corpus).exists())
        GTEST_SKIP() << "no corpus at " << corpus.toStdString();
    const struct {
        const char* file;
        void (cExport::*write)(const QString&);
        bool (cImport::*read)(const QString&);
    } formats[] = {
        {"out.mmf", &cExport::ExportMealMaster, &cImport::ImportMealMaster},
        {"out.mxp", &cExport::ExportMasterCook, &cImport::ImportMasterCook},
        {"out.txt", &cExport::ExportCompuChef, &cImport::ImportCompuChef},
        {"out.xml", &cExport::ExportXML, &cImport::ImportXML},
    };
    // Every recipe of every file in one cookbook: each file's titles are numbered, so that no recipe of a
    // later file is skipped as a duplicate.
    const QString sourceCookbook = program.createCookbook("Source");
    int files = 0;
    QDirIterator it(corpus, {"*.mmf", "*.mxp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        EXPECT_TRUE(source.endsWith(".mmf") ? importer.ImportMealMaster(source) : importer.ImportMasterCook(source))
            << source.toStdString();
        basDatabase::cnCookbook.exec(
            QString("UPDATE RECIPES SET TITLE = TITLE || ' %1-' || ID, MARK=1 WHERE MARK=0").arg(++files));
    }
    const QList<Recipe> original = storedRecipes();

    cExport exporter;
    int compared = 0;
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        ASSERT_TRUE(basDatabase::OpenCookbook(sourceCookbook));
        const QString out = program.path(f.file);
        (exporter.*f.write)(out);
        program.createCookbook(QString("Copy ") + QString(f.file).section('.', 1));
        EXPECT_TRUE((importer.*f.read)(out));
        const QList<Recipe> back = storedRecipes();
        ASSERT_EQ(back.size(), original.size());
        const bool isMealMaster = QString(f.file).endsWith(".mmf");
        for (int i = 0; i < original.size(); ++i) {
            SCOPED_TRACE(original[i].title.toStdString());
            EXPECT_EQ(back[i].title.toLower(), original[i].title.toLower());
            if (isMealMaster && original[i].ingredients.isEmpty())
                continue; // the format cannot tell the first instruction line from an ingredient
            EXPECT_EQ(back[i].ingredients, original[i].ingredients);
            // Meal-Master reads the author line after the instructions back as their last lines.
            const QStringList instructions =
                isMealMaster ? back[i].instructions.mid(0, original[i].instructions.size()) : back[i].instructions;
            EXPECT_EQ(instructions, original[i].instructions);
            ++compared;
        }
    }
    EXPECT_GE(files, 60);
    EXPECT_GT(compared, 250);
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

} // namespace
