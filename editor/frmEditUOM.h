#pragma once
// The units-of-measure editor: adds names to and deletes names from the MEASURES list of the main
// database.
#include "editor/ReferenceListEditor.h"

class frmEditUOM : public ReferenceListEditor {
    Q_OBJECT
public:
    explicit frmEditUOM(QWidget* parent = nullptr);

    QListWidget* const lstUom = list();
    void lstUom_Click() { list_Click(); }
};
