// Placeholder: the MasterCook reader and writer are still to come.
#include "exchange/cExport.h"
#include "exchange/cImport.h"

bool cImport::ImportMasterCook(const QString&) { return false; }
void cExport::ExportMasterCook(const QString&) {}
