#pragma once
// The Filter dialog: lists the recipes of the selected browse-tree node whose titles begin with the picked
// letter or the typed text ("Display all" for all of them).
#include <QDialog>

class QComboBox;
class QPushButton;

class frmView : public QDialog {
    Q_OBJECT
public:
    explicit frmView(QWidget* parent = nullptr);

    QComboBox* cmbSort;
    QPushButton* cmdSort;
    QPushButton* cmdClose;

    void Form_Load();
    void cmdSort_Click();
    void cmdClose_Click();
};
