#pragma once
// A main window without a window, for tests: it stands as basMain's main window for as long as it lives,
// keeps its caption and status text and does nothing else. Tests override what they watch.
#include "core/MainWindow.h"
#include "core/basMain.h"

class StubMainWindow : public NullMainWindow {
public:
    StubMainWindow() { basMain::setMainWindow(this); }
    ~StubMainWindow() override { basMain::setMainWindow(nullptr); }
    StubMainWindow(const StubMainWindow&) = delete;
    StubMainWindow& operator=(const StubMainWindow&) = delete;
};
