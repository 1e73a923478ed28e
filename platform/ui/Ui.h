#pragma once
// Everything that talks to the user outside the program's own windows: message boxes, file dialogs,
// opening a document or link, starting a program, playing a sound. All of it goes through one backend
// that tests replace with a recorder answering from a script; no other code calls QMessageBox or
// QFileDialog directly.
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { OK, Cancel, Abort, Retry, Ignore, Yes, No };
// Which button Enter presses. A question whose answer cannot be undone (delete a cookbook, recipes, a list
// entry, a wine, a contact) takes the second, "No".
enum class DefaultButton { First, Second, Third };

struct FileDialogRequest {
    enum class Kind { Open, OpenMany, Save } kind = Kind::Open;
    QString title;
    QString folder;   // starting folder or file
    QString filter;   // Qt filter text, "Meal-Master (*.mmf);;All files (*)"
    QString selectedFilter; // the entry of `filter` shown first ("" for the first entry)
    bool confirmOverwrite = true; // Save: the dialog asks before it names an existing file
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual Answer messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
                              DefaultButton defaultButton) = 0;
    // Chosen paths; empty when the user cancelled.
    virtual QStringList fileDialog(const FileDialogRequest& request) = 0;
    virtual bool openDocument(const QString& pathOrUrl) = 0;
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    virtual void playSound(const QString& wavePath) = 0;
};

// The backend in use (the real one unless a test installed its own); `install` returns the previous one.
Backend& backend();
Backend* install(Backend* backend);

// The program's title, "Tovalquendry", used where a box takes the program's title.
QString programTitle();

Answer msgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              const QString& title = programTitle(), DefaultButton defaultButton = DefaultButton::First);
QString getOpenFileName(const QString& title, const QString& folder, const QString& filter);
QStringList getOpenFileNames(const QString& title, const QString& folder, const QString& filter,
                             const QString& selectedFilter = {});
// `confirmOverwrite` false: the caller asks itself before it replaces an existing file.
QString getSaveFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& selectedFilter = {}, bool confirmOverwrite = true);
// Opens a file in its program, or a link (http:, mailto:) in the browser or mail client.
bool openDocument(const QString& pathOrUrl);
bool startProgram(const QString& program, const QStringList& arguments = {});
// Plays a wave file without waiting for it; silent when the file is missing or there is no audio device.
void playSound(const QString& wavePath);

// Shows a window and returns once it is on the screen and drawn (the window manager has mapped and
// exposed it), or after `timeoutMs` when that does not happen; what else arrives meanwhile is handled.
void showPainted(QWidget* window, int timeoutMs = 2000);

// The hourglass pointer for as long as the guard lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
// Back to the default pointer, whatever guards are alive (the error reporter does this).
void restoreDefaultCursor();

// Freezes a widget's repainting for as long as the guard lives.
class RepaintFreeze {
public:
    explicit RepaintFreeze(QWidget* widget);
    ~RepaintFreeze();
    RepaintFreeze(const RepaintFreeze&) = delete;
    RepaintFreeze& operator=(const RepaintFreeze&) = delete;

private:
    QWidget* widget_;
    bool wasEnabled_;
};

// A process-wide flag that keeps the clipboard monitor from starting a capture while a list fill,
// import, export, e-mail or another capture runs.
bool isBusy();
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

} // namespace ui
