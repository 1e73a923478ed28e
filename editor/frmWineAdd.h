#pragma once
// The wine list: keeps the user's favourite wines (the WINES list of the main database), and, when the
// recipe editor opens it with basMain::bPickWine set, hands the chosen wine back through
// basMain::sSelectedWine (name, "##", key).
#include "core/TypedWork.h"

#include <QDialog>
#include <QList>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmWineAdd : public QDialog {
    Q_OBJECT
public:
    explicit frmWineAdd(QWidget* parent = nullptr);

    QTreeWidget* lstvWines;
    QLineEdit* txtWineName;
    QLineEdit* txtYear;
    QLineEdit* txtType;
    QLineEdit* txtColour;
    QLineEdit* txtVineyard;
    QLineEdit* txtComments;
    QComboBox* cmbCountry;   // every ORIGIN name, item data its ID
    QList<QLabel*> lblFieldLabel;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdClear;
    QPushButton* cmdClose;
    QPushButton* cmdSelect;

    // [WINE INDEX] of the wine loaded into the boxes as decimal text; "" while a new wine is entered.
    QString sIndex;

    void Form_Load();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdClose_Click();
    void cmdSelect_Click();
    void lstvWines_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillListView();
    void ClearForm();
    std::optional<qint64> storeBoxes();
    QList<QLineEdit*> boxes() const;
    // The boxes and the chosen country as a wine was loaded or the form cleared.
    TypedWork boxesAsLoaded_{this};
};
