#pragma once
// The editors of the three simple reference lists of the main database (categories, ingredients and units
// of measure): one window design, built three times by frmEditCats, frmEditIngredients and frmEditUOM. A
// name can be added and deleted; there is no rename. The list box is rebuilt from the table after every
// change.
#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What one editor shows and which table it keeps.
struct ReferenceList {
    QString form;             // object name of the window
    QString caption;          // window caption
    QString header;           // banner text
    QString listLabel;        // over the list
    QString nameLabel;        // over the name box
    QString listName;         // object name of the list box
    QString table;            // CATEGORY, INGREDIENT, MEASURES
    QString column;           // the name column
    QString duplicateMessage;
    QString deleteQuestion;   // before the name
    QString routinePrefix;    // routine names given to LogError start with it ("frmEditCats CmdAdd")
    // The category editor passes over a failing step of its handlers other than Add; the other two report
    // every failure of a handler through LogError and stop that handler.
    bool passOverFailures = false;
};

class ReferenceListEditor : public QDialog {
    Q_OBJECT
public:
    // Item data of the list: the row's ID.
    static constexpr int IdRole = Qt::UserRole;

    QListWidget* list() const { return list_; }
    QLineEdit* txtName;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdClear;
    QPushButton* cmdClose;

    void Form_Load();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdClose_Click();

protected:
    // Builds the window and loads the list. The ingredient and unit editors raise a failure of that first
    // load to the command that opens them.
    ReferenceListEditor(ReferenceList kind, QWidget* parent);
    // The list's Click: the selected name goes into the name box.
    void list_Click();

private:
    void FillList();
    // Runs a handler's body: passed over or reported under routinePrefix + " " + name, as the kind says.
    void handle(const QString& name, const std::function<void()>& body);
    // One step of a handler: passed over when it fails in the category editor, else raised to the handler.
    void step(const std::function<void()>& body);

    ReferenceList kind_;
    QListWidget* list_;
};
