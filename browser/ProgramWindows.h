#pragma once
// The windows that start-up shows: the splash screen and the main window.
#include "core/basMain.h"

basMain::StartupWindows programStartupWindows();
