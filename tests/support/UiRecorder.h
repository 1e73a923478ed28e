#pragma once
// Stands in for the user in front of message boxes and file dialogs: records every request and answers
// from a script. Installed for as long as it lives.
#include "platform/ui/Ui.h"

#include <QList>
#include <QQueue>
#include <QStringList>

struct RecordedBox {
    QString text;
    ui::Buttons buttons;
    ui::Icon icon;
    QString title;
    ui::DefaultButton defaultButton = ui::DefaultButton::First;
};

class UiRecorder : public ui::Backend {
public:
    UiRecorder();
    ~UiRecorder() override;

    // Scripted answers, used in order; a box with no answer left gets OK/Yes/Abort... the first button.
    QQueue<ui::Answer> answers;
    // Scripted file dialog results, used in order; none left means "cancelled".
    QQueue<QStringList> files;

    QList<RecordedBox> boxes;
    QList<ui::FileDialogRequest> dialogs;
    QStringList opened;          // documents and links
    bool desktopOpens = true;    // whether a desktop program takes what is opened
    QList<QStringList> started;  // program followed by its arguments
    QStringList sounds;

    ui::Answer messageBox(const QString& text, ui::Buttons buttons, ui::Icon icon, const QString& title,
                          ui::DefaultButton defaultButton) override;
    QStringList fileDialog(const ui::FileDialogRequest& request) override;
    bool openDocument(const QString& pathOrUrl) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void playSound(const QString& wavePath) override;

private:
    ui::Backend* previous_;
};
