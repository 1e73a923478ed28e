#pragma once
// The program's own pictures, drawn in code so that nothing has to ship beside the executable: the
// logo, the decorative bar across the top of the splash screen and the About box, and the donate button.
#include <QPixmap>

namespace artwork {

// A steaming bowl on a warm, rounded tile; `size` is the side in device-independent pixels.
QPixmap logo(int size);
// A horizontal band in the logo's colours.
QPixmap bar(int width, int height);
// A "Donate" button with a heart.
QPixmap donateButton();

} // namespace artwork
