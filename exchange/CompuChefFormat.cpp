// Placeholder: the CompuChef reader and writer are still to come.
#include "exchange/cExport.h"
#include "exchange/cImport.h"

bool cImport::ImportCompuChef(const QString&) { return false; }
void cExport::ExportCompuChef(const QString&) {}
