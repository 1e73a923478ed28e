#pragma once
// The category editor: adds names to and deletes names from the CATEGORY list of the main database.
#include "editor/ReferenceListEditor.h"

class frmEditCats : public ReferenceListEditor {
    Q_OBJECT
public:
    explicit frmEditCats(QWidget* parent = nullptr);

    QListWidget* const lstCats = list();
    void lstCats_Click() { list_Click(); }
};
