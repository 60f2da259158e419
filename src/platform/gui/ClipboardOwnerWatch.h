// The module's side of ClipboardWatch.h: the X11 way, through the XFixes
// extension on a connection of its own that only hears of clipboard owners.
#pragma once

// Opens the connection and asks for owner changes of the clipboard; the
// connection's descriptor, or -1 when the display or XFixes is missing.
int StartClipboardOwnerWatch();

// Reads the events that arrived; true when the clipboard got a new owner,
// which is a change of its content.
bool ClipboardOwnerChanged();

void StopClipboardOwnerWatch();
