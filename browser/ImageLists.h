#pragma once
// The main window's two image lists, addressed by index: `iList` holds the toolbar's own 24 x 24 button
// images, `ilsIcons` the 16 x 16 images of the drop-down menus and of the browse tree's nodes. An index
// without a picture gives an empty icon.
#include <QIcon>

namespace images {

QIcon iList(int index);
QIcon ilsIcons(int index);

// The browse tree's node images in `ilsIcons`.
enum NodeImage : int {
    Favourite = 14,        // the Favourites branch and its entries
    BranchCollapsed = 15,  // a collapsed branch, and every root when it is added
    BranchExpanded = 16,   // an expanded branch
    CategoryEntry = 17,
    IngredientEntry = 18,  // also "List All"
    CountryEntry = 19,
};

} // namespace images
