#pragma once
// Buttons that Enter presses only when they have the focus. None of them is, or becomes, the dialog's
// default button, so Enter in a text box presses nothing (Qt makes the first auto-default button of a
// dialog its default, which a fast typist's Enter would press).
#include <initializer_list>

class QPushButton;

namespace ui {

void pressOnlyWhenFocused(std::initializer_list<QPushButton*> buttons);

} // namespace ui
