#include "editor/frmEditUOM.h"

frmEditUOM::frmEditUOM(QWidget* parent)
    : ReferenceListEditor({.form = "frmEditUOM",
                           .caption = "Form1",
                           .header = "Add / Amend Units Of Measure",
                           .listLabel = "UOM:",
                           .nameLabel = "UOM Name:",
                           .listName = "lstUom",
                           .table = "MEASURES",
                           .column = "MEASUREMENT",
                           .duplicateMessage = "This unit of measure already exists",
                           .deleteQuestion = "delete unit of measure ",
                           .routinePrefix = "frmEditUnitsOfMeasure"},
                          parent)
{
}
