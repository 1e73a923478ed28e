// Placeholder until the recipe page lands.
#include "browser/RecipePage.h"

QString WriteRecipePage(const QString&, bool) { return {}; }
