#include "editor/frmEditCats.h"

frmEditCats::frmEditCats(QWidget* parent)
    : ReferenceListEditor({.form = "frmEditCats",
                           .caption = "Edit Categories",
                           .header = "Add / Amend Categories",
                           .listLabel = "Categories:",
                           .nameLabel = "Category Name:",
                           .listName = "lstCats",
                           .table = "CATEGORY",
                           .column = "CATEGORY",
                           .duplicateMessage = "This category already exists",
                           .deleteQuestion = "delete category ",
                           .routinePrefix = "frmEditCats",
                           .passOverFailures = true},
                          parent)
{
}
