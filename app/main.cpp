// Tovalquendry: a personal recipe collection.
#include "browser/ProgramWindows.h"
#include "core/basMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName("Tovalquendry");
    basMain::setStartupWindows(programStartupWindows());
    if (!basMain::Main())
        return 0;
    return app.exec();
}
