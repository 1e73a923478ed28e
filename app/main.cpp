// Tovalquendry: a personal recipe collection.
#include "browser/ProgramWindows.h"
#include "core/AccessibleComboBox.h"
#include "core/PageFolder.h"
#include "core/basMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName("Tovalquendry");
    UseNamedComboBoxes();
    basMain::setStartupWindows(programStartupWindows());
    if (!basMain::Main())
        return 0;
    const int result = app.exec();
    pagefolder::remove(); // this instance's pages go with it
    return result;
}
