#pragma once
// The top-level windows that are shown now.
#include <QApplication>
#include <QWidget>

inline QWidgetList shownWindows()
{
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown << w;
    return shown;
}
