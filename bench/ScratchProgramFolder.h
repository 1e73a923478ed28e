#pragma once
// A scratch program folder laid out like the real one (reference database, templates, temp), made the
// program folder of this process, with the default template in use.
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "tests/support/ProgramLayout.h"

#include <QTemporaryDir>

class ScratchProgramFolder {
public:
    ScratchProgramFolder()
    {
        layOutProgramFolder(dir_.path());
        paths::setProgramFolder(dir_.path());
        basMain::sTemplatePath = dir_.path() + "/templates/default.html";
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
