#pragma once
// When a modal dialog or message box goes, the window that opened it gets the keyboard back: it is made
// the active window, and with that its control that had the focus has it again. Some window managers give the
// keyboard to no window at all when a dialog and the message it showed close together, and every key
// typed next would be lost. Installed once for the whole program; calling it again does nothing.
void ReturnKeyboardToOwners();
