#include "UiRecorder.h"

UiRecorder::UiRecorder() : previous_(ui::install(this)) {}
UiRecorder::~UiRecorder() { ui::install(previous_); }

ui::Answer UiRecorder::messageBox(const QString& text, ui::Buttons buttons, ui::Icon icon, const QString& title,
                                  ui::DefaultButton defaultButton)
{
    boxes.append({text, buttons, icon, title, defaultButton});
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case ui::Buttons::OK:
    case ui::Buttons::OKCancel: return ui::Answer::OK;
    case ui::Buttons::AbortRetryIgnore: return ui::Answer::Abort;
    case ui::Buttons::YesNo:
    case ui::Buttons::YesNoCancel: return ui::Answer::Yes;
    case ui::Buttons::RetryCancel: return ui::Answer::Retry;
    }
    return ui::Answer::OK;
}

QStringList UiRecorder::fileDialog(const ui::FileDialogRequest& request)
{
    dialogs.append(request);
    return files.isEmpty() ? QStringList() : files.dequeue();
}

bool UiRecorder::openDocument(const QString& pathOrUrl)
{
    opened.append(pathOrUrl);
    return desktopOpens;
}

bool UiRecorder::startProgram(const QString& program, const QStringList& arguments)
{
    started.append(QStringList{program} + arguments);
    return true;
}

void UiRecorder::playSound(const QString& wavePath) { sounds.append(wavePath); }
