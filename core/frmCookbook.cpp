// Placeholder until the Cookbook Manager lands.
#include "core/frmCookbook.h"

frmCookbook::frmCookbook(QWidget* parent) : QDialog(parent) { setObjectName("frmCookbook"); }
