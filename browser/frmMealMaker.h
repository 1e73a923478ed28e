#pragma once
// "What can I make with?": lists in the main window every recipe whose ingredients contain all of the
// comma-separated ingredients the user has at hand.
#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmMealMaker : public QDialog {
    Q_OBJECT
public:
    explicit frmMealMaker(QWidget* parent = nullptr);

    QLineEdit* txtSearch;
    std::array<QPushButton*, 2> cmdOption{}; // 0 "Search", 1 "Close"

    void cmdOption_Click(int index);

private:
    void FindRecipes();
};
