#pragma once
// The instructions editor: a larger, resizable window over the recipe editor holding a copy of the
// instructions, copied back into the editor however it is closed.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class frmExpand : public QDialog {
    Q_OBJECT
public:
    // `target` is the editor's instructions box: it gives the text now and takes it back on close.
    explicit frmExpand(QPlainTextEdit* target, QWidget* parent = nullptr);

    QPlainTextEdit* rtbText;
    QPushButton* cmdOk;

    void cmdOk_Click();
    void Form_QueryUnload();

    // Every way of closing (OK, Escape, the close box) ends here.
    void done(int result) override;

private:
    QPlainTextEdit* target_;
};
