#include "editor/frmEditIngredients.h"

frmEditIngredients::frmEditIngredients(QWidget* parent)
    : ReferenceListEditor({.form = "frmEditIngredients",
                           .caption = "Edit Ingredients",
                           .header = "Add / Amend Ingredients",
                           .listLabel = "Ingredients:",
                           .nameLabel = "Ingredient Name:",
                           .listName = "lstIngs",
                           .table = "INGREDIENT",
                           .column = "INGREDIENT",
                           .duplicateMessage = "This ingredient already exists",
                           .deleteQuestion = "delete ingredient ",
                           .routinePrefix = "frmEditIngredients"},
                          parent)
{
}
