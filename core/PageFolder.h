#pragma once
// This instance's own folder under "\temp". The page on display, its picture, the e-mail pages and the
// editor's and clipboard's working files live there, so that two instances of the program never read or
// delete each other's files. The folder is named by the process id and holds a lock file of ours that
// stays locked (flock) while the instance runs; a folder whose lock can be taken was left by an instance
// that ended. Only real folders holding that lock file are ever emptied: a link is never followed (nor
// removed), and a folder the program did not make is left alone, whatever its name.
#include <QString>

namespace pagefolder {

// "<program folder>/temp/<pid>", made (with its lock) when missing.
QString path();
// The e-mail pages' folder inside it ("<...>/email"); not made here.
QString emailPath();
// The name of the lock file inside each instance's folder; whoever empties the folder leaves it.
QString lockFileName();
// At start: makes "\temp" and this instance's folder, after removing the folders of instances that have
// ended (those of running instances, and anything else under "\temp", stay).
void start();
void removeStale();
// At exit: removes this instance's folder.
void remove();

} // namespace pagefolder
