// The module's side of the resident instance's waiting (ResidentWait.h):
// FLTK's event wait, which also watches the descriptors of the instance.
#pragma once

// Makes FLTK's waits call ready whenever fd is readable.
void WatchFd(int fd, void (*ready)());
void UnwatchFd(int fd);

// Serves window events until some arrived. Closing the message window, or
// Escape in it, asks the instance to end meanwhile.
void WaitWhileIdle();

// Notes that a window of the instance asked it to end.
void RequestWindowEnd();

// True once when a window asked the instance to end since the last call.
bool TakeWindowEndRequest();
