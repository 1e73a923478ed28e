#pragma once
// The delete dialog: deletes the recipe selected in the main window's list, or every marked recipe at once.
// The dialog is itself the confirmation; the main window is refreshed afterwards.
#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

class frmDelete : public QDialog {
    Q_OBJECT
public:
    explicit frmDelete(QWidget* parent = nullptr);

    std::array<QLabel*, 6> lblInfo{};            // 5 the header, 0 the question
    std::array<QRadioButton*, 2> optDelete{};    // 0 "Delete ALL marked recipes", 1 just the selected one
    QFrame* shpDel;
    QLabel* imgDelete;
    QPushButton* cmdDelete;
    QPushButton* cmdCancel;

    void Form_Load();
    void cmdDelete_Click();
    void cmdCancel_Click();

private:
    // Takes the deleted recipe's row out of the main window's list.
    void removeFromList();
    // The recipe selected in the main window's list when the dialog loaded.
    QString sRecipeKey_;
};
