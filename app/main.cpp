// Tovalquendry: a personal recipe collection.
#include "browser/frmMain.h"
#include "browser/frmSplash.h"
#include "core/basMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName("Tovalquendry");
    basMain::setStartupWindows({
        [] { return static_cast<QWidget*>(new frmSplash); },
        [] { return static_cast<IMainWindow*>(new frmMain); },
    });
    if (!basMain::Main())
        return 0;
    return app.exec();
}
