// The Windows build has no windows of its own yet (plots, the setup window,
// the message window, screenshots): it runs as without a display and says so
// once.
#include "platform/Display.h"

#include "platform/Note.h"

bool DisplayAvailable() {
    static bool noted = false;
    NoteOnce(noted, "windows are not available yet in the Windows build; the run goes on without them");
    return false;
}

bool DisplayOpened() { return false; }

void ServeWindowEvents(double) {}
