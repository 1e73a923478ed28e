#pragma once
// The page on display as it leaves the program (saved, mailed, printed): whole. For a recipe too long to
// show in full the display writes only the short form the view shows, and leaves here how to write the
// page whole; whatever saves, mails or prints the page on display completes it first.
#include <functional>

namespace wholepage {

// Replaces what an earlier display left pending.
void setPending(std::function<void()> write);
void drop();
// Writes the page on display whole when that is pending (once; the writer reports its own errors).
void complete();

} // namespace wholepage
