#pragma once
// The search dialog: finds the recipes of the open cookbook whose chosen fields contain a typed text, or
// that belong to a category, an ingredient or a country picked from the browse tree's lists, puts them into
// the main window's recipe list and, when asked, marks them.
#include <QDialog>

struct SearchCriteria;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmSearch : public QDialog {
    Q_OBJECT
public:
    explicit frmSearch(QWidget* parent = nullptr);

    QLineEdit* txtSearch;
    QCheckBox* chkRecipeName;
    QCheckBox* chkAuthor;
    QCheckBox* chkInstructions;
    QCheckBox* chkIng;
    QCheckBox* chkCat;
    QComboBox* cmbCat;
    QComboBox* cmbIngredients;
    QComboBox* cmbOrigin;
    QCheckBox* chkSearchMark;
    QCheckBox* chkMark;
    QPushButton* cmdSearch;
    QPushButton* cmdClose;

    void Form_Load();
    void cmdSearch_Click();
    void cmdClose_Click();

private:
    SearchCriteria criteria() const;
    void search();
};
