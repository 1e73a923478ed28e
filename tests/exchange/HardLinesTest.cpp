// Stored lines that look like a format's own lines (end lines, rules, frames, start and label lines, a
// signature equal to the author, paragraphs) go out through every writer and come back whole.
#include "ImportFixture.h"

#include "exchange/cExport.h"

namespace {

const QString kCrLf = "\r\n";

const QStringList kIngredients = {
    "1 cup flour",
    "-------",
    "MMMMM",
    "- - - - -",
    "*****************",
    "****** Sauce ******",
    "*** Recipe Via Compu-Chef (tm) ***",
    "* Exported from MasterCook *",
    "MMMMM----- Recipe via Meal-Master (tm) v8.06",
    "Title: Not A Recipe",
    "Recipe By: Somebody",
    "Categories: Other",
    "2 eggs",
};

const QStringList kInstructions = {
    "Mix the dough.",
    "-------",
    "MMMMM",
    "-----",
    "MMMMM-----SAUCE-----",
    "- - - - - - - - - - - - - - - - - - ",
    "- - -- - -",
    "*****************",
    "****** Sauce ******",
    "*** Recipe Via Compu-Chef (tm) ***",
    "                     *  Exported from  MasterCook  *",
    "---------- Recipe via Meal-Master (tm) v8.06",
    "",
    "Title: Not A Recipe Either",
    "Recipe By     : Somebody",
    "Categories    : Other",
    "",
    "Second paragraph.",
    "",
    "",
    "Third paragraph.",
    "Jo Cook",
};

// The instruction lines as a reader that trims every line gives them back.
QStringList trimmedLines(QStringList lines)
{
    for (QString& l : lines)
        l = l.trimmed();
    return lines;
}

QString endedLines(const QStringList& lines) { return lines.join(kCrLf) + kCrLf; }

class HardLines : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        addRecipe();
    }
    static void addRecipe()
    {
        db::Query(basDatabase::cnCookbook,
                  "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, YIELD, INGREDIENTS, INSTRUCTIONS, MARK) "
                  "VALUES ('Hard Lines', 'Jo Cook', 'Tests', '4', ?1, ?2, 1)",
                  {kIngredients.join(kCrLf), kInstructions.join(kCrLf)})
            .exec();
    }
};

TEST_F(HardLines, ComeBackWholeThroughEveryWriter)
{
    // What each format gives back of the ingredients and instructions: the rules its reader applies to
    // every line, and nothing cut short.
    QStringList masterCookIngredients;
    for (const QString& l : kIngredients)
        if (!l.startsWith("-"))
            masterCookIngredients << cImport::RemoveDoubleSpaces(QString(l).replace("--", " "));
    QStringList compuChefIngredients;
    for (const QString& l : kIngredients)
        compuChefIngredients << cImport::RemoveDoubleSpaces(l);

    const struct {
        const char* file;
        void (cExport::*write)(const QString&);
        bool (cImport::*read)(const QString&);
        QString ingredients, instructions;
    } formats[] = {
        // Meal-Master keeps the author line and its separators at the end of the instructions.
        {"out.mmf", &cExport::ExportMealMaster, &cImport::ImportMealMaster, kIngredients.join(kCrLf),
         kInstructions.join(kCrLf) + "\r\n \r\nJo Cook\r\n "},
        {"out.mxp", &cExport::ExportMasterCook, &cImport::ImportMasterCook, endedLines(masterCookIngredients),
         endedLines(trimmedLines(kInstructions))},
        {"out.txt", &cExport::ExportCompuChef, &cImport::ImportCompuChef, endedLines(compuChefIngredients),
         endedLines(trimmedLines(kInstructions))},
        {"out.xml", &cExport::ExportXML, &cImport::ImportXML, kIngredients.join(kCrLf), kInstructions.join(kCrLf)},
    };
    cExport exporter;
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        program.createCookbook(QString("Source ") + QString(f.file).section('.', 1));
        addRecipe();
        (exporter.*f.write)(program.path(f.file));
        program.createCookbook(QString("Copy ") + QString(f.file).section('.', 1));
        EXPECT_TRUE((importer.*f.read)(program.path(f.file)));
        EXPECT_EQ(counters(), (QList<qint32>{1, 1, 0}));
        const QList<QVariantMap> rows = recipes();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0]["TITLE"].toString(), "Hard Lines");
        EXPECT_EQ(rows[0]["INGREDIENTS"].toString().toStdString(), f.ingredients.toStdString());
        EXPECT_EQ(rows[0]["INSTRUCTIONS"].toString().toStdString(), f.instructions.toStdString());
        EXPECT_TRUE(recorder.boxes.isEmpty());
    }
}

// Other programs take a marker line from its first column: every such line goes out with one blank before
// it, and nothing else is touched.
TEST_F(HardLines, GoOutWithOneLeadingBlank)
{
    cExport exporter;
    const struct {
        const char* file;
        void (cExport::*write)(const QString&);
        QStringList guarded, untouched;
    } formats[] = {
        {"out.mmf", &cExport::ExportMealMaster,
         {" MMMMM", " -------", " MMMMM-----SAUCE-----", " -----", " Title: Not A Recipe Either"},
         {"1 cup flour", "- - - - -", "*****************", "Mix the dough."}},
        {"out.mxp", &cExport::ExportMasterCook,
         {" - - - - -", " - - -- - -", " *  Exported from  MasterCook  *", " Recipe By     : Somebody",
          " Categories: Other", " * Exported from MasterCook *"},
         {"-------", "MMMMM", "*****************"}},
        {"out.txt", &cExport::ExportCompuChef,
         {" *****************", " ****** Sauce ******", " *** Recipe Via Compu-Chef (tm) ***"},
         {"MMMMM", "- - - - -", "Recipe By     : Somebody"}},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        (exporter.*f.write)(program.path(f.file));
        const QStringList lines = QString::fromLatin1(readBytes(program.path(f.file))).split(kCrLf);
        for (const QString& l : f.guarded)
            EXPECT_TRUE(lines.contains(l)) << l.toStdString();
        for (const QString& l : f.untouched)
            EXPECT_TRUE(lines.contains(l)) << l.toStdString();
    }
}

} // namespace
