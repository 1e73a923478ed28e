#pragma once
// Compacting a cookbook beside the window: the work runs on a thread of its own while a small modal
// window shows how far it has come.
#include <QString>

class QWidget;

// Compacts the cookbook file `fileName` (called `cookbookName` on screen) as CompactCookbookFile does,
// on a thread of its own. Meanwhile a modal window over `parent` shows its progress: every window
// repaints, but no other command starts and the progress window cannot be closed until the end.
// Raises what CompactCookbookFile raises.
void CompactShowingProgress(QWidget* parent, const QString& fileName, const QString& cookbookName);
