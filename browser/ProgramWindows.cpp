#include "browser/ProgramWindows.h"

#include "browser/frmMain.h"
#include "browser/frmSplash.h"

basMain::StartupWindows programStartupWindows()
{
    return {
        [] { return static_cast<QWidget*>(new frmSplash); },
        [] { return static_cast<IMainWindow*>(new frmMain); },
    };
}
