#pragma once
// The ingredient editor: adds names to and deletes names from the INGREDIENT list of the main database.
#include "editor/ReferenceListEditor.h"

class frmEditIngredients : public ReferenceListEditor {
    Q_OBJECT
public:
    explicit frmEditIngredients(QWidget* parent = nullptr);

    QListWidget* const lstIngs = list();
    void lstIngs_Click() { list_Click(); }
};
