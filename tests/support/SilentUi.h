#pragma once
// For the benchmarks: message boxes and dialogs answered without showing anything.
#include "platform/ui/Ui.h"

#include <cstdio>

// Answers every box with its first button and writes nothing to the screen.
class SilentUi final : public ui::Backend {
public:
    ui::Answer messageBox(const QString& text, ui::Buttons, ui::Icon, const QString&, ui::DefaultButton) override
    {
        std::fprintf(stderr, "box: %s\n", qPrintable(text));
        return ui::Answer::OK;
    }
    QStringList fileDialog(const ui::FileDialogRequest&) override { return {}; }
    bool openDocument(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
    void playSound(const QString&) override {}
};
