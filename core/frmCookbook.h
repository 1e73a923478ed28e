#pragma once
// The Cookbook Manager: open, create, delete, describe and compact cookbooks.
#include <QDialog>

class frmCookbook : public QDialog {
    Q_OBJECT
public:
    explicit frmCookbook(QWidget* parent = nullptr);
};
