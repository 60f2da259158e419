// The waiting of the resident instance. Everything that should wake it (the
// mailbox thread, the signals that end it, the clipboard watch) writes one
// byte to a single wake pipe; without a display the loop waits in poll on
// that pipe, with one in FLTK's event wait, which also watches the pipe. An
// idle instance therefore uses no processor time.
#pragma once

// Creates the wake pipe; makes SIGTERM, SIGINT and SIGHUP ask the loop to
// end (a second one ends the process at once), and ignores SIGPIPE, SIGTTIN
// and SIGTTOU so that a resident instance never stops on a closed pipe or a
// terminal it does not own. False when the pipe cannot be made.
bool PrepareResidentWait();

// Console answers of a resident instance come only from a terminal: standard
// input that is not one (a pipe an editor keeps open, which would hold the
// instance up for good) is replaced by an empty input.
void DetachResidentInput();

// The wake pipe's write end. Bytes written: 'm' a mailbox request, 'c' a
// clipboard change, 's' a signal.
int ResidentWakeFd();

// Waits until something was written to the wake pipe or, with a display
// open, until window events were served. While it waits, a close request
// or Escape in the message window asks the instance to end.
void WaitForResidentWake();

// Makes the wait wake when fd is readable, and calls ready then (from the
// resident loop's wait, and from FLTK's waits when a display is open).
void AddResidentWatch(int fd, void (*ready)());
void RemoveResidentWatch(int fd);

// True once when the loop was asked to end (a signal, a window of the
// instance closed) since the last call.
bool TakeResidentEndRequest();

// True once when the clipboard changed since the last call.
bool TakeClipboardChange();
