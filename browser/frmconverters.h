#pragma once
// The unit converters: weight, temperature and volume pages, each converting a value from one unit to
// another, and a button that starts a desktop calculator.
#include <QDialog>
#include <QList>

class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;

class frmconverters : public QDialog {
    Q_OBJECT
public:
    explicit frmconverters(QWidget* parent = nullptr);

    QList<QPushButton*> cmdAction;   // 0 Weight, 1 Temperature, 2 Volume
    QList<QFrame*> fraOption;        // the three pages, same indexes

    QLineEdit* txtWeight;
    QListWidget* lstWeightFrom;
    QListWidget* lstWeightTo;
    QPushButton* cmdConvert;
    QLineEdit* txtResult;

    QLineEdit* txtTempValue;
    QListWidget* lstTempFrom;
    QListWidget* lstTempTo;
    QPushButton* cmdTempConvert;
    QLineEdit* txtTempResult;

    QLineEdit* txtVolumeValue;
    QListWidget* lstVolFrom;
    QListWidget* lstvolTo;
    QPushButton* cmdVolConvert;
    QLineEdit* txtVolResult;

    QPushButton* cmdCalc;
    QPushButton* cmdClose;

    // The desktop calculators tried in turn; the first one found on PATH is started.
    static const QStringList& calculators();

    void Form_Load();
    void cmdAction_Click(int index);
    void cmdConvert_Click();
    void cmdTempConvert_Click();
    void cmdVolConvert_Click();
    void cmdCalc_Click();
    void cmdClose_Click();

private:
    void ShowPage(int index);
    QFrame* makePage(int index, QLineEdit*& value, QListWidget*& from, QListWidget*& to, QPushButton*& convert,
                     const QString& convertName, QLineEdit*& result);

    QStackedWidget* pages_;
};
