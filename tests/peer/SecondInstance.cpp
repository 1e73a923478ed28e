// Another process beside a test: another instance of the program with a cookbook open, or another
// program writing into a cookbook file. Tests start it through support/SecondProcess.h and talk to it
// one line at a time on its standard input and output.
//
//   tq_second_instance open <program folder> <cookbook file> <busy timeout ms>
//       Opens the cookbook the way the program does ("open", or "error <number> <description>"), then
//       answers each line "save <title>" with "saved" or "failed <description>"; ends at the end of input.
//   tq_second_instance writer <cookbook path> <stop file>
//       Saves recipes "Written 0", "Written 1" ... one transaction each over a plain SQLite connection,
//       printing "saved <title>" after each save that was committed; after a failure it opens the file
//       again, as a user would. Ends when the stop file exists.
//   tq_second_instance hold <cookbook path> [<statements>]
//       Another program in the middle of a write: takes the file's write lock, runs the statements inside
//       it ("held") and keeps it until the end of its input. Killed then, it leaves its journal behind.
//   tq_second_instance page <program folder> <cookbook file> <recipe key>
//       Starts as the program does (a page folder of its own), shows the recipe's page ("page <path>") and
//       keeps it until the end of its input; then ends as the program does, taking its folder with it.
//   tq_second_instance compact <program folder> <cookbook file>
//       Compacts the cookbook as the Cookbook Manager does.
//   tq_second_instance write-settings <settings file> <section> <prefix> <count>
//       Stores <prefix>0=0, <prefix>1=1 ... one settings write each, as the program writes them.
//   tq_second_instance set-setting <settings file> <section> <key> <value>
//       Stores one value.
//   tq_second_instance sql <database> <statements>
//       Runs the statements on a connection of its own to the file.
// The last four end with 0 when they did their job.
#include "browser/RecipePage.h"
#include "core/CompactCookbook.h"
#include "core/MainWindow.h"
#include "core/PageFolder.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/db/Database.h"
#include "platform/ini/ProfileFile.h"
#include "platform/paths/ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

void say(const QString& line)
{
    std::fputs((line + '\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

const char* kInsert = "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) VALUES (?1, '', '', '', '')";

int openCookbook(const QString& folder, const QString& file, int busyTimeout)
{
    paths::setProgramFolder(folder);
    db::setBusyTimeout(busyTimeout);
    NullMainWindow window;
    basMain::setMainWindow(&window);
    try {
        if (!basDatabase::OpenCookbook(file)) {
            say("error 53 not opened");
            return 1;
        }
    } catch (const AppError& e) {
        say(QString("error %1 %2").arg(e.number).arg(e.description));
        return 1;
    }
    say("open");
    for (std::string line; std::getline(std::cin, line);) {
        const QString command = QString::fromStdString(line);
        if (!command.startsWith("save "))
            continue;
        try {
            db::Query(basDatabase::cnCookbook, kInsert, {command.mid(5)}).exec();
            say("saved");
        } catch (const AppError& e) {
            say("failed " + e.description);
        }
    }
    basDatabase::CloseCookbook();
    basMain::setMainWindow(nullptr);
    return 0;
}

int writeRecipes(const QString& path, const QString& stopFile)
{
    db::Connection cn;
    cn.open(path);
    for (int i = 0; !QFileInfo::exists(stopFile); ++i) {
        const QString title = "Written " + QString::number(i);
        try {
            db::Query(cn, kInsert, {title}).exec();
            say("saved " + title);
        } catch (const AppError&) {
            try {
                cn.open(path);
            } catch (const AppError&) {
            }
        }
        ::usleep(1000); // a moment between saves, as between a user's
    }
    return 0;
}

int holdWriteLock(const QString& path, const QString& statements)
{
    db::Connection cn;
    cn.open(path);
    db::Transaction writing(cn, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
    if (!statements.isEmpty())
        cn.exec(statements);
    say("held");
    for (std::string line; std::getline(std::cin, line);) {
    }
    return 0;
}

int showPage(const QString& folder, const QString& file, const QString& key)
{
    paths::setProgramFolder(folder);
    basMain::sTemplatePath = folder + "/templates/default.html";
    NullMainWindow window;
    basMain::setMainWindow(&window);
    try {
        if (!basDatabase::OpenCookbook(file))
            return 1;
        pagefolder::start();
        say("page " + WriteRecipePage(key, false));
    } catch (const AppError& e) {
        say(QString("error %1 %2").arg(e.number).arg(e.description));
        return 1;
    }
    for (std::string line; std::getline(std::cin, line);) {
    }
    basDatabase::CloseCookbook();
    pagefolder::remove();
    basMain::setMainWindow(nullptr);
    return 0;
}

int writeSettings(const QStringList& args)
{
    for (int i = 0; i < args[5].toInt(); ++i)
        if (!ini::writeValue(args[2], args[3], args[4] + QString::number(i), QString::number(i)))
            return 1;
    return 0;
}

int runStatements(const QString& path, const QString& statements)
{
    db::Connection cn;
    cn.open(path);
    cn.exec(statements);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == "open")
        return openCookbook(args[2], args[3], args[4].toInt());
    if (args.size() == 4 && args[1] == "writer")
        return writeRecipes(args[2], args[3]);
    if ((args.size() == 3 || args.size() == 4) && args[1] == "hold")
        return holdWriteLock(args[2], args.value(3));
    if (args.size() == 5 && args[1] == "page")
        return showPage(args[2], args[3], args[4]);
    try {
        if (args.size() == 6 && args[1] == "write-settings")
            return writeSettings(args);
        if (args.size() == 6 && args[1] == "set-setting")
            return ini::writeValue(args[2], args[3], args[4], args[5]) ? 0 : 1;
        if (args.size() == 4 && args[1] == "sql")
            return runStatements(args[2], args[3]);
        if (args.size() == 4 && args[1] == "compact") {
            paths::setProgramFolder(args[2]);
            CompactCookbookFile(args[3]);
            return 0;
        }
    } catch (...) {
        return 1;
    }
    std::fputs("usage: tq_second_instance open FOLDER FILE TIMEOUT | writer PATH STOPFILE | hold PATH [STATEMENTS]\n"
               "       | page FOLDER FILE KEY\n"
               "       | write-settings FILE SECTION PREFIX COUNT | set-setting FILE SECTION KEY VALUE\n"
               "       | sql DATABASE STATEMENTS | compact FOLDER FILE\n",
               stderr);
    return 2;
}
