#include "platform/ui/Ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace ui {
namespace {

QWidget* dialogParent()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

// Whether the machine can play sound at all. Where no sound server runs, asking prints a warning of the
// audio layer's own; a machine without sound is no fault of ours, so the answer is taken quietly.
bool hasAudioOutput()
{
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previous);
    return any;
}

// A window manager cuts a title wider than its window ("Delet… ation" over a short question): a box is made
// at least as wide as its title in a bold face, beside the room the title bar's own buttons take.
void keepTitleWhole(QMessageBox& box, const QString& title)
{
    constexpr int titleBarButtons = 120;
    QFont bold = box.font();
    bold.setBold(true);
    const int wanted = QFontMetrics(bold).horizontalAdvance(title) + titleBarButtons;
    // A message box keeps its own size: a spacer across its grid is what widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
}

class QtBackend final : public Backend {
public:
    Answer messageBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
                      DefaultButton defaultButton) override
    {
        QMessageBox box(dialogParent());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
        case Icon::Question: box.setIcon(QMessageBox::Question); break;
        case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Icon::Information: box.setIcon(QMessageBox::Information); break;
        case Icon::None: break;
        }
        QMessageBox::StandardButtons set;
        switch (buttons) {
        case Buttons::OK: set = QMessageBox::Ok; break;
        case Buttons::OKCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::AbortRetryIgnore: set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore; break;
        case Buttons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
        }
        box.setStandardButtons(set);
        // The buttons in the order a Windows box shows them; the default is counted in that order.
        QList<QMessageBox::StandardButton> order;
        for (QMessageBox::StandardButton b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Abort,
                                              QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::Cancel})
            if (set.testFlag(b))
                order.append(b);
        const int wanted = static_cast<int>(defaultButton);
        if (wanted < order.size())
            box.setDefaultButton(order.at(wanted));
        keepTitleWhole(box, title); // last: setting the icon lays the box out anew
        switch (box.exec()) {
        case QMessageBox::Cancel: return Answer::Cancel;
        case QMessageBox::Abort: return Answer::Abort;
        case QMessageBox::Retry: return Answer::Retry;
        case QMessageBox::Ignore: return Answer::Ignore;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default:
            // the close box: the answer a Windows box gives for it
            if (buttons == Buttons::YesNo)
                return Answer::No;
            if (buttons == Buttons::AbortRetryIgnore)
                return Answer::Abort;
            return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
        }
    }

    QStringList fileDialog(const FileDialogRequest& r) override
    {
        switch (r.kind) {
        case FileDialogRequest::Kind::Open: {
            QString selected = r.selectedFilter;
            const QString f = QFileDialog::getOpenFileName(dialogParent(), r.title, r.folder, r.filter, &selected);
            return f.isEmpty() ? QStringList() : QStringList{f};
        }
        case FileDialogRequest::Kind::OpenMany: {
            QString selected = r.selectedFilter;
            return QFileDialog::getOpenFileNames(dialogParent(), r.title, r.folder, r.filter, &selected);
        }
        case FileDialogRequest::Kind::Save: {
            QString selected = r.selectedFilter;
            const QString f = QFileDialog::getSaveFileName(
                dialogParent(), r.title, r.folder, r.filter, &selected,
                r.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
            return f.isEmpty() ? QStringList() : QStringList{f};
        }
        }
        return {};
    }

    bool openDocument(const QString& pathOrUrl) override
    {
        const QUrl url = pathOrUrl.contains(':') && !pathOrUrl.startsWith('/') ? QUrl(pathOrUrl)
                                                                                 : QUrl::fromLocalFile(pathOrUrl);
        return QDesktopServices::openUrl(url);
    }

    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }

    void playSound(const QString& wavePath) override
    {
        // Nothing to play, or nothing to play it on: stay silent rather than let the sound engine
        // complain or wait for a device that is not there.
        if (wavePath.isEmpty() || !QFileInfo(wavePath).isFile() || !hasAudioOutput())
            return;
        // Fire and forget: the effect deletes itself when the application goes, and nothing waits on it.
        static QPointer<QSoundEffect> effect;
        if (!effect)
            effect = new QSoundEffect(qApp);
        effect->setSource(QUrl::fromLocalFile(wavePath));
        effect->play();
    }
};

Backend*& current()
{
    static QtBackend real;
    static Backend* active = &real;
    return active;
}

int& waitDepth()
{
    static int depth = 0;
    return depth;
}

int& busyDepth()
{
    static int depth = 0;
    return depth;
}
} // namespace

Backend& backend() { return *current(); }

Backend* install(Backend* b)
{
    Backend* previous = current();
    current() = b;
    return previous;
}

QString programTitle() { return QStringLiteral("Tovalquendry"); }

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title, DefaultButton defaultButton)
{
    return backend().messageBox(text, buttons, icon, title, defaultButton);
}

QString getOpenFileName(const QString& title, const QString& folder, const QString& filter)
{
    const QStringList r = backend().fileDialog({FileDialogRequest::Kind::Open, title, folder, filter, {}, true});
    return r.isEmpty() ? QString() : r.first();
}

QStringList getOpenFileNames(const QString& title, const QString& folder, const QString& filter,
                             const QString& selectedFilter)
{
    return backend().fileDialog({FileDialogRequest::Kind::OpenMany, title, folder, filter, selectedFilter, true});
}

QString getSaveFileName(const QString& title, const QString& folder, const QString& filter,
                        const QString& selectedFilter, bool confirmOverwrite)
{
    const QStringList r = backend().fileDialog(
        {FileDialogRequest::Kind::Save, title, folder, filter, selectedFilter, confirmOverwrite});
    return r.isEmpty() ? QString() : r.first();
}

bool openDocument(const QString& pathOrUrl) { return backend().openDocument(pathOrUrl); }
bool startProgram(const QString& program, const QStringList& arguments)
{
    return backend().startProgram(program, arguments);
}
void playSound(const QString& wavePath) { backend().playSound(wavePath); }

WaitCursor::WaitCursor()
{
    if (qApp)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitDepth();
}

WaitCursor::~WaitCursor()
{
    if (waitDepth() > 0) {
        --waitDepth();
        if (qApp)
            QApplication::restoreOverrideCursor();
    }
}

void restoreDefaultCursor()
{
    while (waitDepth() > 0) {
        --waitDepth();
        if (qApp)
            QApplication::restoreOverrideCursor();
    }
}

RepaintFreeze::RepaintFreeze(QWidget* widget) : widget_(widget), wasEnabled_(widget && widget->updatesEnabled())
{
    if (widget_)
        widget_->setUpdatesEnabled(false);
}

RepaintFreeze::~RepaintFreeze()
{
    if (widget_ && wasEnabled_)
        widget_->setUpdatesEnabled(true);
}

void showPainted(QWidget* window, int timeoutMs)
{
    if (!window)
        return;
    QPointer<QWidget> guard(window);
    window->show();
    // Under a window manager the window is drawn only once it has been mapped and exposed, which happens
    // later and asynchronously: wait for that, not merely for the show.
    QElapsedTimer waited;
    waited.start();
    auto exposed = [&] { return guard && guard->windowHandle() && guard->windowHandle()->isExposed(); };
    while (guard && guard->isVisible() && !exposed() && waited.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (guard && guard->isVisible()) {
        guard->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

bool isBusy() { return busyDepth() > 0; }
BusyScope::BusyScope() { ++busyDepth(); }
BusyScope::~BusyScope() { --busyDepth(); }

} // namespace ui
