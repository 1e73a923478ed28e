#pragma once
// The clipboard watcher: recipe text that the user copies from another program is captured into the
// open cookbook.

namespace basMain {

// When the clipboard holds text with the marker of a recipe exchange format, hands it to that format's
// reader through "\temp\clip.tmp", plays the recognised or not-recognised sound as the settings ask,
// empties the clipboard and rebuilds the main window's browse tree. Text without a marker is left alone.
// Returns at once, touching nothing, while an import, export, e-mail or another capture runs or a modal
// dialog is open. Errors are logged under "CheckClipoard", never raised.
void CheckClipoard();

} // namespace basMain
