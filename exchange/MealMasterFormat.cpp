// Placeholder: the MealMaster reader and writer are still to come.
#include "exchange/cExport.h"
#include "exchange/cImport.h"

bool cImport::ImportMealMaster(const QString&) { return false; }
void cExport::ExportMealMaster(const QString&) {}
