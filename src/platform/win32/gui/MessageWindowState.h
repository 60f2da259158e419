// What the form asks of the message window in the Windows build.
#pragma once

// True when the user closed the message window (its close box or Escape)
// and the program has not closed it since.
bool MessageWindowClosedByUser();
