#pragma once
// Start-up, shutdown, the error reporter, and the values that windows and classes hand to each other.
#include "platform/AppError.h"

#include <QString>
#include <functional>

class IMainWindow;
class QWidget;

namespace basMain {

// ---- version and title
int versionMajor();
int versionMinor();
int versionRevision();
QString versionNumbers();  // "1.0.0"
QString versionText();     // "Version 1.0.0"
QString captionPrefix();   // "Tovalquendry - Version 1.0.0"

// ---- start-up and shutdown
// The windows that start-up shows; the application registers them before calling Main.
struct StartupWindows {
    std::function<QWidget*()> createSplash;       // shown modeless while the database opens
    std::function<IMainWindow*()> createMainWindow;
};
void setStartupWindows(StartupWindows windows);

// The only entry point. Returns true while a window is left to run (the caller then runs the event
// loop), false after a failed start.
bool Main();
// The only way out: closes the reference database and every window. May be entered again from a close
// handler while it runs.
void ShutDown();
// Appends the error to "\error.log" (three CR LF lines) and shows it; never fails itself.
void LogError(long number, const QString& description, const QString& routine);
// Appends the record to "\error.log" only, for a failure that its window tells the user in its own box.
void AppendErrorLog(long number, const QString& description, const QString& routine);
// Runs an event handler's body; any failure (the program's own error, any std::exception, anything else)
// is reported through LogError under `routine`, so that nothing crosses the event loop. False when it failed.
bool RunHandler(const QString& routine, const std::function<void()>& body);
// Reports the exception being handled through LogError under `routine`; call it only inside a catch block.
void LogCurrentException(const QString& routine);
// How many errors LogError has reported so far: a caller of a routine that reports its own errors and
// returns normally compares it before and after the call to learn whether the routine failed.
qint64 errorsLogged();
// The exception being handled as the number and description the error log shows; only inside a catch block.
AppError CurrentError();

// The main window, or a window that does nothing while none exists.
IMainWindow& mainWindow();
void setMainWindow(IMainWindow* window);

// ---- shared values
inline bool bShutdownPending = false;   // "Exit" asked; the main window's stop timer acts on it
inline QString sTemplatePath;           // the HTML template in use
inline QString sEditRecipeKey;          // list key of the recipe the editor opens, "" for a new one
inline QString sSelectedWine;           // wine list hand-over: name, "##", key
inline bool bPickWine = false;          // the editor opens the wine list as a picker
inline long lEmailCount = 0;            // pages written for the e-mail being built

// The import counters of the file being read, and the user's request to stop an import.
inline qint32 lRecipesFound = 0;
inline qint32 lRecipesImported = 0;
inline qint32 lRecipesSkipped = 0;
inline bool bCancelImport = false;

} // namespace basMain
