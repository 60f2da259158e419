// Watching the clipboard while the resident instance waits: wl-paste
// --watch under Wayland, the XFixes extension under X11. Each
// change writes 'c' to the wake pipe of the resident loop.
#pragma once

// Starts watching; true when it runs (or already did). False when neither
// way is available or the clipboard cannot be read. It may be called before
// the mailbox opens, so that no change after the instance can be found is
// missed (on Windows the watch then starts with the resident window).
bool StartClipboardWatch(int wakeFd);

// Ends the watch (the wl-paste process is ended by its pid).
void StopClipboardWatch();
