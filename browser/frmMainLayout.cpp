// The main window's geometry and panes: restored from and saved to [Size] in twips, and the two splitters.
#include "browser/RecipeListView.h"
#include "browser/Twips.h"
#include "browser/frmMain.h"
#include "core/NumberText.h"
#include "core/Settings.h"

#include <QGuiApplication>
#include <QLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

// A [Size] value as a number; empty or not a number counts as absent.
std::optional<double> sizeSetting(const QString& key) { return toNumber(ReadINI("Size", key)); }

// Moves a window that would lie off every screen onto the primary screen.
QRect ontoScreen(QRect place)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(place))
            return place;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return place;
    const QRect area = primary->availableGeometry();
    place.setSize(place.size().boundedTo(area.size()));
    place.moveTopLeft(area.topLeft());
    return place;
}

// What the window frame adds to the client area (nothing until the window manager has framed it).
QSize frameExtra(const QWidget* w) { return w->frameGeometry().size() - w->size(); }

// Neither minimized, maximized nor full screen.
bool inNormalState(const QWidget* w)
{
    return !(w->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

} // namespace

void frmMain::restoreWindowGeometry()
{
    const auto left = sizeSetting("Main Window Left");
    const auto top = sizeSetting("Main Window Top");
    const auto height = sizeSetting("Main Window Height");
    const auto width = sizeSetting("Main Window Width");

    // The stored place is the outer frame's, as settings written on Windows hold it.
    QRect outer = frameGeometry();
    if (left)
        outer.moveLeft(twips::toPixelsX(*left, this));
    if (top)
        outer.moveTop(twips::toPixelsY(*top, this));
    if (height && *height > 0)
        outer.setHeight(twips::toPixelsY(*height, this));
    if (width && *width > 0)
        outer.setWidth(twips::toPixelsX(*width, this));
    outer = ontoScreen(outer);
    resize(outer.size() - frameExtra(this));
    if (left || top || outer.topLeft() != frameGeometry().topLeft())
        move(outer.topLeft()); // without a stored place the window manager places the window
    if ((height && *height > 0) || (width && *width > 0))
        pendingOuterSize_ = outer.size();
    if (left || top || height || width)
        normalFrame_ = outer;

    if (const auto state = sizeSetting("Main Window State")) {
        switch (static_cast<int>(std::lround(*state))) {
        case 0: setWindowState(Qt::WindowNoState); break;
        case 1: setWindowState(Qt::WindowMinimized); break;
        case 2: setWindowState(Qt::WindowMaximized); break;
        default: break; // no state of ours: the design state stays
        }
    }
}

void frmMain::settleOuterSize()
{
    // The frame is known only once the window manager has framed the shown window: then the client
    // area is made as much smaller as the frame takes. A window restored maximized takes its size when
    // it first goes back to the normal state.
    if (!pendingOuterSize_ || !isVisible() || frameExtra(this).isNull() || !inNormalState(this))
        return;
    const QSize outer = *pendingOuterSize_;
    pendingOuterSize_.reset();
    resize(outer - frameExtra(this));
}

void frmMain::noteNormalFrame()
{
    // Only a shown, framed window in the normal state says where it goes back to; a maximized window's
    // frame (a window manager may drop its borders) says nothing about that.
    if (isVisible() && !pendingOuterSize_ && !frameExtra(this).isNull() && inNormalState(this))
        normalFrame_ = frameGeometry();
}

void frmMain::restorePaneSizes()
{
    if (const auto list = sizeSetting("Horizontal Panel"); list && *list > 0)
        pendingListHeight_ = twips::toPixelsY(*list, this);
    if (const auto tree = sizeSetting("Vertical Panel"); tree && *tree > 0)
        pendingTreeWidth_ = twips::toPixelsX(*tree, this);
}

void frmMain::saveWindowGeometry()
{
    // The outer frame; a minimized or maximized window keeps the place and size it goes back to.
    const bool normal = inNormalState(this);
    QRect place = frameGeometry();
    if (!normal && normalFrame_) {
        place = *normalFrame_;
    } else if (!normal && !normalGeometry().isEmpty()) {
        const QRect client = geometry(), frame = frameGeometry();
        place = normalGeometry().adjusted(frame.left() - client.left(), frame.top() - client.top(),
                                          frame.right() - client.right(), frame.bottom() - client.bottom());
    }
    const int state = windowState() & Qt::WindowMinimized ? 1 : windowState() & Qt::WindowMaximized ? 2 : 0;

    // One write: a full disk is told once, and never leaves half of the window's place stored.
    WriteINI("Size", {
        {"Main Window Left", twips::text(twips::fromPixelsX(place.x(), this))},
        {"Main Window Top", twips::text(twips::fromPixelsY(place.y(), this))},
        {"Main Window Height", twips::text(twips::fromPixelsY(place.height(), this))},
        {"Main Window Width", twips::text(twips::fromPixelsX(place.width(), this))},
        {"Main Window State", QString::number(state)},
        {"Horizontal Panel", twips::text(twips::fromPixelsY(lstVRecipes_->height(), this))},
        {"Vertical Panel", twips::text(twips::fromPixelsX(tvRecipes_->width(), this))},
        {"Toolbar Visible", toolBar_->isHidden() ? "False" : "True"},
        {"Statusbar Visible", statusBar()->isHidden() ? "False" : "True"},
    });
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    settleOuterSize();
    noteNormalFrame();
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    settleOuterSize();
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    settleOuterSize();
    noteNormalFrame();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The window manager frames the window anew after the change: settle once it has.
    if (event->type() == QEvent::WindowStateChange)
        QTimer::singleShot(100, this, [this] { settleOuterSize(); });
}

void frmMain::Form_Resize()
{
    // The banner's label and letter buttons follow the window through its layout.
    if (!(windowState() & Qt::WindowMinimized))
        SizeControls();
}

void frmMain::SizeControls()
{
    try {
        // Lay the panes out for the window's present size first: on the first show this runs before the
        // layouts have placed the splitters. Activating the layout places the menu bar too (a layout's
        // geometry set by hand would lay the toolbar and panes over it).
        for (QWidget* w : {static_cast<QWidget*>(this), centralWidget()}) {
            if (QLayout* l = w->layout()) {
                l->invalidate();
                l->activate();
            }
        }
        if (pendingTreeWidth_)
            placeVerticalSplitter(tvRecipes_->mapTo(this, QPoint()).x() + *pendingTreeWidth_);
        if (pendingListHeight_)
            placeHorizontalSplitter(lstVRecipes_->mapTo(this, QPoint()).y() + *pendingListHeight_);
        pendingTreeWidth_.reset();
        pendingListHeight_.reset();

        // Stored bar positions are read leniently and kept 1300 twips inside the window, as a drag is.
        const QString vertical = ReadINI("Size", "Vertical Splitter");
        if (!vertical.isEmpty()) {
            const double at = twips::clampSplitter(leadingNumber(vertical), outerWidthTwips());
            placeVerticalSplitter(twips::toPixelsX(at, this));
        }
        const QString horizontal = ReadINI("Size", "Horizontal Splitter");
        if (!horizontal.isEmpty()) {
            const double at = twips::clampSplitter(leadingNumber(horizontal), twips::fromPixelsY(height(), this));
            placeHorizontalSplitter(twips::toPixelsY(at, this));
        }
    } catch (...) {
    }
}

double frmMain::outerWidthTwips() const { return twips::fromPixelsX(frameGeometry().width(), this); }

void frmMain::placeVerticalSplitter(int windowX)
{
    const int total = imgVSplit_->contentsRect().width() - imgVSplit_->handleWidth();
    const int tree = std::clamp(windowX - imgVSplit_->mapTo(this, QPoint()).x(), 1, std::max(1, total - 1));
    imgVSplit_->setSizes({tree, total - tree});
}

void frmMain::placeHorizontalSplitter(int windowY)
{
    const int total = imgHSplit_->contentsRect().height() - imgHSplit_->handleWidth();
    const int list = std::clamp(windowY - imgHSplit_->mapTo(this, QPoint()).y(), 1, std::max(1, total - 1));
    imgHSplit_->setSizes({list, total - list});
}

void frmMain::imgVSplit_MouseUp(int pos)
{
    try {
        const int x = imgVSplit_->mapTo(this, QPoint(pos, 0)).x();
        const double at = twips::clampSplitter(twips::fromPixelsX(x, this), outerWidthTwips());
        WriteINI("Size", "Vertical Splitter", twips::text(at));
        SizeControls();
    } catch (...) {
    }
}

void frmMain::imgHSplit_MouseUp(int pos)
{
    try {
        const int y = imgHSplit_->mapTo(this, QPoint(0, pos)).y();
        const double at = twips::clampSplitter(twips::fromPixelsY(y, this), twips::fromPixelsY(height(), this));
        WriteINI("Size", "Horizontal Splitter", twips::text(at));
        SizeControls();
    } catch (...) {
    }
}
