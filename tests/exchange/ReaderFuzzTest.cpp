// Every reader gets a few hundred damaged copies of real files (lines lost, doubled, swapped, another
// format's marker lines put in, bytes changed, the file cut off): each read ends with true or false, no
// error is reported, the counters add up and nothing hangs.
#include "ImportFixture.h"

#include <QDirIterator>
#include <QRandomGenerator>

namespace {

// Lines that every format's readers look for, put into the copies at random places.
const QList<QByteArray> kMarkerLines = {
    "MMMMM",
    "-----",
    "  MMMMM  ",
    "MMMMM----- Recipe via Meal-Master (tm) v8.06",
    "---------- Recipe via Meal-Master (tm) v8.06",
    "      Title: Fuzz",
    " Categories: ",
    "                     *  Exported from  MasterCook  *",
    "- - - - - - - - - - - - - - - - - - ",
    " - - -- - -",
    "--------  ------------  --------------------------------",
    "Recipe By     :",
    "Serving Size  : 4     Preparation Time :",
    "Nutr. Assoc. : 0 0 0",
    "0 0 0 0",
    "*****",
    "*****************",
    "****** Fuzz ******",
    " ****** Fuzz ******",
    "*** Recipe Via Compu-Chef (tm) ***",
    "Calories     per serving: 1\tNumber of Servings: 2",
    "INGREDIENTS ------------------------------------------------------------",
    "DIRECTIONS  ------------------------------------------------------------",
    "",
    " ",
    "\t\t",
    QByteArray("\0\0\0\0*****", 9),
    "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'>",
    "<z:row TITLE='Fuzz' />",
    "</rs:data>",
};

// A line of the format's own layout: a frame, a rule, an end line, a start line.
bool looksLikeMarker(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('*') || t.startsWith('-') || t.startsWith("MMMMM") || t.startsWith('<');
}

QByteArray mutated(const QByteArray& original, QRandomGenerator& random)
{
    QList<QByteArray> lines = original.split('\n');
    const auto anyLine = [&] { return int(random.bounded(qsizetype(lines.size()))); };
    const int changes = 1 + random.bounded(4);
    for (int i = 0; i < changes && !lines.isEmpty(); ++i) {
        switch (random.bounded(9)) {
        case 8: { // a marker line doubled or moved
            QList<int> markers;
            for (int at = 0; at < lines.size(); ++at)
                if (looksLikeMarker(lines[at]))
                    markers << at;
            if (!markers.isEmpty()) {
                const QByteArray line = lines[markers[random.bounded(qsizetype(markers.size()))]];
                lines.insert(random.bounded(2) ? markers[random.bounded(qsizetype(markers.size()))] : anyLine(), line);
            }
            break;
        }
        case 0:
            lines.removeAt(anyLine());
            break;
        case 1: {
            const int at = anyLine();
            lines.insert(at, lines[at]);
            break;
        }
        case 2:
        case 3:
            lines.insert(anyLine(), kMarkerLines[random.bounded(qsizetype(kMarkerLines.size()))] + "\r");
            break;
        case 4:
            lines.swapItemsAt(anyLine(), anyLine());
            break;
        case 5: {
            QByteArray& line = lines[anyLine()];
            if (!line.isEmpty())
                line[random.bounded(line.size())] = char(random.bounded(256));
            break;
        }
        case 6:
            lines[anyLine()].prepend(random.bounded(2) ? " " : "\t ");
            break;
        case 7:
            lines = lines.mid(0, anyLine() + 1);
            lines.last().truncate(random.bounded(lines.last().size() + 1));
            break;
        }
    }
    return lines.join('\n');
}

// The real files by their ending: the shared corpus when it is there, and the test data of every format.
QHash<QString, QList<QByteArray>> sourceFiles()
{
    QHash<QString, QList<QByteArray>> files;
    for (const QString& folder :
         {QString(TQ_SOURCE_DIR) + "/../shared/corpus", QString(TQ_SOURCE_DIR) + "/tests/exchange/data"}) {
        QDirIterator it(folder, {"*.mmf", "*.mxp", "*.txt", "*.xml"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[QFileInfo(path).suffix()] << readBytes(path);
        }
    }
    return files;
}

qint64 storedRecipes()
{
    db::Query q(basDatabase::cnCookbook, "SELECT COUNT(*) FROM RECIPES");
    return q.next() ? q.value(0).toLongLong() : -1;
}

class ReaderFuzz : public ImportFixture {};

TEST_F(ReaderFuzz, DamagedCopiesOfRealFilesEndCleanly)
{
    const QHash<QString, QList<QByteArray>> files = sourceFiles();
    QList<QByteArray> all;
    for (const QList<QByteArray>& some : files)
        all << some;
    const struct {
        const char* name;
        const char* suffix;
        bool (cImport::*read)(const QString&);
    } readers[] = {
        {"Meal-Master", "mmf", &cImport::ImportMealMaster},
        {"MasterCook", "mxp", &cImport::ImportMasterCook},
        {"Compu-Chef", "txt", &cImport::ImportCompuChef},
        {"XML", "xml", &cImport::ImportXML},
    };
    QRandomGenerator random(20261207);
    const QString path = program.path("fuzz.txt");
    for (const auto& r : readers) {
        // Half of the copies from files of the reader's own format, half from any file.
        const QList<QByteArray> own = files.value(r.suffix);
        ASSERT_FALSE(own.isEmpty()) << r.name;
        for (int copy = 0; copy < 120; ++copy) {
            SCOPED_TRACE(QString("%1, copy %2").arg(r.name).arg(copy).toStdString());
            const QByteArray& source =
                copy % 2 ? all[random.bounded(qsizetype(all.size()))] : own[(copy / 2) % own.size()];
            const QByteArray bytes = mutated(source, random);
            writeBytes(path, bytes);
            const qint64 before = storedRecipes();
            (importer.*r.read)(path);
            EXPECT_GE(basMain::lRecipesFound, basMain::lRecipesImported + basMain::lRecipesSkipped);
            EXPECT_EQ(storedRecipes() - before, basMain::lRecipesImported);
            // A damaged XML file is refused whole, and said so once; the text readers read on past damage.
            const bool refusedXml = r.read == &cImport::ImportXML && recorder.boxes.size() == 1 &&
                                    recorder.boxes[0].text.contains("The file could not be read (line ");
            if (!recorder.boxes.isEmpty() && !refusedXml)
                ADD_FAILURE() << recorder.boxes[0].text.toStdString() << "\n" << bytes.toStdString();
            recorder.boxes.clear();
        }
    }
}

} // namespace
