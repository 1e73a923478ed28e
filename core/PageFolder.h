#pragma once
// This instance's own folder under "\temp". The page on display, its picture, the e-mail pages and the
// editor's and clipboard's working files live there, so that two instances of the program never read or
// delete each other's files. The folder is named by the process id and stays locked (flock on the folder
// itself) while the instance runs; a folder whose lock can be taken was left by an instance that ended.
#include <QString>

namespace pagefolder {

// "<program folder>/temp/<pid>", made (with its lock) when missing.
QString path();
// The e-mail pages' folder inside it ("<...>/email"); not made here.
QString emailPath();
// At start: makes "\temp" and this instance's folder, after removing the folders of instances that have
// ended (those of running instances, and anything else under "\temp", stay).
void start();
void removeStale();
// At exit: removes this instance's folder.
void remove();

} // namespace pagefolder
