// Placeholder: the Xml reader and writer are still to come.
#include "exchange/cExport.h"
#include "exchange/cImport.h"

bool cImport::ImportXML(const QString&) { return false; }
void cExport::ExportXML(const QString&) {}
