#pragma once
// What the recipe editor's tests share: a scratch program with a cookbook "Family" open, short reference
// lists, the recorder in front of message boxes and file dialogs, an editor whose wine list is played by
// the test, and reading a recipe row back.
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include "core/DE.h"
#include "core/basMain.h"
#include "editor/frmAddRecipe.h"

#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>
#include <QVariantMap>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The texts of a list's entries and of a report list's items, in order.
inline QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

inline QStringList items(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

// The editor with the wine list replaced by what the test wants it to do.
class TestRecipeEditor : public frmAddRecipe {
public:
    std::function<void()> wineList = [] {};
    bool pickWineWhenOpened = false;
    bool realWineList = false; // open the program's own wine list instead

protected:
    void openWineList() override
    {
        pickWineWhenOpened = basMain::bPickWine;
        if (realWineList)
            frmAddRecipe::openWineList();
        else
            wineList();
    }
};

class EditorTest : public ::testing::Test {
protected:
    EditorTest()
    {
        DE.cn.exec("DELETE FROM CATEGORY; DELETE FROM INGREDIENT; DELETE FROM MEASURES; DELETE FROM ORIGIN;"
                   "INSERT INTO CATEGORY (CATEGORY) VALUES ('Soups'), ('Desserts'), ('Main Dish');"
                   "INSERT INTO INGREDIENT (INGREDIENT) VALUES ('Sugar'), ('Flour'), ('Eggs');"
                   "INSERT INTO MEASURES (MEASUREMENT) VALUES ('tsp'), ('cup'), ('tbsp');"
                   "INSERT INTO ORIGIN (ORIGIN) VALUES ('Italy'), ('France'), ('Finland');");
        program.createCookbook("Family");
    }

    // An editor loaded for a new recipe ("") or for amending the recipe with that ID.
    std::unique_ptr<TestRecipeEditor> openEditor(qint64 id = 0)
    {
        basMain::sEditRecipeKey = id ? "R" + QString::number(id) : QString();
        auto editor = std::make_unique<TestRecipeEditor>();
        editor->show();
        editor->Form_Load();
        return editor;
    }

    // The recipe row with that ID (empty when there is none).
    static QVariantMap row(qint64 id)
    {
        db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE ID=?1", {id});
        QVariantMap values;
        if (q.next())
            for (int i = 0; i < q.columnCount(); ++i)
                values[q.columnName(i).toUpper()] = q.value(i);
        return values;
    }

    // The ID of the recipe with that stored title, 0 when there is none.
    static qint64 idOf(const QString& storedTitle)
    {
        const qint64 id = scalar(basDatabase::cnCookbook, "SELECT ID FROM RECIPES WHERE TITLE=?1", {storedTitle});
        return id < 0 ? 0 : id;
    }

    // A small real picture file of that format.
    QString writePicture(const QString& relative, const char* format = "PNG", QColor colour = Qt::red)
    {
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = program.path(relative);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(image.save(path, format)) << path.toStdString();
        return path;
    }

    // Selects characters [from, to) of the clipboard pane's text.
    static void selectClip(frmAddRecipe& editor, int from, int to)
    {
        QTextCursor cursor = editor.rtbClip->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor.rtbClip->setTextCursor(cursor);
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const RecordedBox& box : recorder.boxes)
            texts << box.text;
        return texts;
    }

    ScratchProgram program;
    UiRecorder recorder;
};
