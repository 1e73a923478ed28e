#include "ScratchProgram.h"
#include "ProgramLayout.h"
#include "TestFiles.h"

#include "core/DE.h"
#include "core/PageFolder.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"

#include <gtest/gtest.h>

ScratchProgram::ScratchProgram(bool openReferenceDatabase)
{
    const QString root = dir_.path();
    layOutProgramFolder(root);
    paths::setProgramFolder(root);
    if (openReferenceDatabase)
        DE.cn.open(root + "/data/tovalquendry.mdb");
}

ScratchProgram::~ScratchProgram()
{
    basDatabase::sCurrentCookbook.clear(); // no main window is left to reset
    basDatabase::CloseCookbook();
    DE.cn.close();
    basMain::bShutdownPending = false;
    basMain::sTemplatePath.clear();
    basMain::sEditRecipeKey.clear();
    basMain::sSelectedWine.clear();
    basMain::bPickWine = false;
    basMain::lEmailCount = 0;
}

QString ScratchProgram::path(const QString& relative) const
{
    return relative.isEmpty() ? dir_.path() : dir_.path() + '/' + relative;
}

QString ScratchProgram::errorLog() const
{
    return QString::fromUtf8(readBytes(path("error.log")));
}

QString ScratchProgram::page(const QString& name)
{
    return name.isEmpty() ? pagefolder::path() : pagefolder::path() + '/' + name;
}

QString ScratchProgram::createCookbook(const QString& name)
{
    const QString file = name + ".tqc";
    basDatabase::CreateCookbook(file);
    EXPECT_TRUE(basDatabase::OpenCookbook(file)) << "could not open the new cookbook " << file.toStdString();
    return file;
}

qint64 ScratchProgram::addRecipe(const QString& title, const QString& category, const QString& ingredients,
                                 const QString& origin)
{
    db::Query(basDatabase::cnCookbook,
              "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, ORIGIN) "
              "VALUES (?1, 'Tester', ?2, ?3, 'Mix.', ?4)",
              {title, category, ingredients, origin.isEmpty() ? QVariant() : QVariant(origin)})
        .exec();
    return basDatabase::cnCookbook.lastInsertId();
}
