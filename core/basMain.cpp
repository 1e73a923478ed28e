#include "core/basMain.h"

#include "core/DE.h"
#include "core/basDatabase.h"
#include "core/MainWindow.h"
#include "core/Settings.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <new>

namespace basMain {
namespace {

StartupWindows& startupWindows()
{
    static StartupWindows windows;
    return windows;
}

// Stands in for the main window while there is none: keeps the no-cookbook state, shows nothing.
class NoMainWindow final : public NullMainWindow {
public:
    void ResetScreen() override { basDatabase::sCurrentCookbook.clear(); }
};

IMainWindow*& currentMainWindow()
{
    static IMainWindow* window = nullptr;
    return window;
}

bool anyWindowShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
}
} // namespace

int versionMajor() { return TQ_VERSION_MAJOR; }
int versionMinor() { return TQ_VERSION_MINOR; }
int versionRevision() { return TQ_VERSION_REVISION; }

QString versionNumbers()
{
    return QString("%1.%2.%3").arg(versionMajor()).arg(versionMinor()).arg(versionRevision());
}

QString versionText() { return "Version " + versionNumbers(); }
QString captionPrefix() { return "Tovalquendry - Version " + versionNumbers(); }

IMainWindow& mainWindow()
{
    static NoMainWindow none;
    IMainWindow* w = currentMainWindow();
    return w ? *w : none;
}

void setMainWindow(IMainWindow* window) { currentMainWindow() = window; }

void setStartupWindows(StartupWindows windows) { startupWindows() = std::move(windows); }

bool Main()
{
    QPointer<QWidget> splash;
    try {
        if (ReadINI("Options", "Display Splash Screen") != "False" && startupWindows().createSplash) {
            splash = startupWindows().createSplash();
            ui::showPainted(splash); // drawn before the database opens
        }

        const QString databasePath = paths::resolve("\\data\\tovalquendry.mdb");
        DE.cn.open(databasePath);
        if (!DE.cn.isOpen()) {
            ui::msgBox("Failed to open the database at location " + databasePath, ui::Buttons::OK, ui::Icon::Critical,
                       "Major Error");
            delete splash;
            ShutDown();
            return false;
        }
        // A foreign file (an empty database, a cookbook copied over this one) fails here, not later.
        CheckReferenceDatabase();

        if (startupWindows().createMainWindow) {
            IMainWindow* window = startupWindows().createMainWindow();
            if (window && window->widget())
                window->widget()->show();
        }
        delete splash;
        return anyWindowShown();
    } catch (...) {
        LogCurrentException("subroutine Main");
    }
    delete splash;
    ShutDown();
    return false;
}

void ShutDown()
{
    try {
        DE.cn.close();
    } catch (...) {
    }
    // Close every window that is still up; the main window's close handler comes back here, and
    // finds only what is left. A close handler may delete another window, hence the guarded list.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : windows) {
        try {
            if (w && w->isVisible())
                w->close();
        } catch (...) {
        }
    }
    // The program ends when no window is left (nothing happens while no event loop runs).
    if (!anyWindowShown())
        QCoreApplication::quit();
}

namespace {
qint64 loggedErrors = 0;
}

qint64 errorsLogged() { return loggedErrors; }

namespace {
QString ErrorRecord(long number, const QString& description, const QString& routine)
{
    return "(" + QString::number(number) + ")\r\n" + description + "\r\n" + "occurred in module " + routine;
}

void AppendRecord(const QString& message)
{
    QFile log(paths::resolve("\\error.log"));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append))
        log.write((message + "\r\n").toUtf8());
}
} // namespace

void AppendErrorLog(long number, const QString& description, const QString& routine)
{
    ++loggedErrors;
    try {
        AppendRecord(ErrorRecord(number, description, routine));
    } catch (...) {
    }
}

void LogError(long number, const QString& description, const QString& routine)
{
    AppendErrorLog(number, description, routine);
    try {
        ui::restoreDefaultCursor();
        text::closeAllFiles();
        ui::msgBox(ErrorRecord(number, description, routine), ui::Buttons::OK, ui::Icon::Exclamation,
                   "Tovalquendry Error");
    } catch (...) {
    }
}

bool RunHandler(const QString& routine, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (...) {
        LogCurrentException(routine);
        return false;
    }
}

void LogCurrentException(const QString& routine)
{
    const AppError error = CurrentError();
    LogError(error.number, error.description, routine);
}

AppError CurrentError()
{
    try {
        throw;
    } catch (const AppError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return AppError(7, "Out of memory");
    } catch (const std::exception& e) {
        return AppError(51, "Internal error: " + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return AppError(51, "Internal error");
    }
}

} // namespace basMain
