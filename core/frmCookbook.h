#pragma once
// The Cookbook Manager: open, create, delete, describe and compact cookbooks.
#include <QDialog>
#include <QList>

class QListWidget;
class QListWidgetItem;
class QPushButton;

// What the manager shows of one cookbook file.
struct CookbookInfo {
    QString name;         // "" when the cookbook has no Identifier row
    QString description;
    qint64 count = 0;     // number of recipes
    bool ok = false;      // false when the file could not be read as a cookbook
};

class frmCookbook : public QDialog {
    Q_OBJECT
public:
    explicit frmCookbook(QWidget* parent = nullptr);

    // Item data of lstvCookbooks: the file name (no folder), the description, the formatted count.
    static constexpr int FileRole = Qt::UserRole;
    static constexpr int DescriptionRole = Qt::UserRole + 1;
    static constexpr int CountRole = Qt::UserRole + 2;

    // Fills the list; a missing cookbooks folder raises its error to the caller that shows the manager.
    void Form_Load();
    // Refills the list from the cookbook files in "\data\cookbooks\"; raises "Path not found" (76) when
    // the folder is missing.
    void ListCookbooks();
    // Reads the name, description and recipe count of the cookbook file at `path` over a connection of
    // its own.
    static CookbookInfo GetCookbookInfo(const QString& path);

    // Buttons by index: 0 Open, 1 Create New, 2 Delete, 3 Close, 4 Edit, 5 Refresh, 6 Compact. Whatever
    // fails is reported through the error log.
    void cmdAction_Click(int index);
    void lstvCookbooks_DblClick();

    QListWidget* lstvCookbooks;
    QList<QPushButton*> cmdAction;

private:
    QListWidgetItem* selectedItem() const;
    void openSelected();
    void createNew();
    void deleteSelected();
    void editSelected();
    void compactSelected();
};
