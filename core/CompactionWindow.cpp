#include "core/CompactionWindow.h"

#include "core/CompactCookbook.h"
#include "core/Helpers.h"
#include "platform/ui/Ui.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// Has no button: Esc, Enter and the close box do nothing while the compaction runs.
class CompactionWindow final : public QDialog {
public:
    CompactionWindow(QWidget* parent, const QString& cookbookName) : QDialog(parent)
    {
        setObjectName("frmCompacting");
        setWindowTitle(ui::programTitle());
        setWindowModality(Qt::ApplicationModal);
        setWindowFlag(Qt::WindowCloseButtonHint, false);
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);

        auto* caption = new QLabel("Compacting cookbook " + cookbookName + " ...", this);
        caption->setObjectName("lblCompacting");
        caption->setTextFormat(Qt::PlainText); // a name is shown as typed, never as markup
        bar = new QProgressBar(this);
        bar->setObjectName("barCompacting");
        bar->setRange(0, 1000);
        bar->setTextVisible(false);
        bar->setAccessibleName(caption->text());

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(caption);
        layout->addWidget(bar);
        setMinimumWidth(360);
    }

    void reject() override {}
    QProgressBar* bar;

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

void CompactShowingProgress(QWidget* parent, const QString& fileName, const QString& cookbookName)
{
    CompactionWindow window(parent, cookbookName);
    window.show();
    CompactionProgress progress;
    runOffThread([&fileName, &progress] { CompactCookbookFile(fileName, &progress); },
                 [&window, &progress] {
                     // Once the copy is written, flushing it to disk and checking it take a while that
                     // cannot be measured: the bar then only shows that the work goes on.
                     const int done = progress.permille();
                     if (done >= 990 && done < 1000)
                         window.bar->setRange(0, 0);
                     else
                         window.bar->setValue(done);
                     QCoreApplication::processEvents();
                 });
}
