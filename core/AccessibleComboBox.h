#pragma once
// What a screen reader hears for a combo box. Qt on Linux reads a combo box's current entry as its name
// ("-Any-"), so a user moving through a dialog hears values without knowing which box holds them. The
// program's combo boxes are named as every other box is: by their accessible name or their label; the
// entry shown is their value.

// Makes every combo box created from now on answer that way. Runs once when the application starts.
void UseNamedComboBoxes();
