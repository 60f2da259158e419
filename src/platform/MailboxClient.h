// The launcher's side of the mailbox: finding a resident instance, handing
// a command line over and asking the instance to end.
#pragma once

#include <string>

// True when a resident instance of this user answers at the mailbox, which
// stands for its window. A mailbox folder that is not the user's own or is
// open to others counts as none, with a note on standard error.
bool FindResidentWindow();

struct HandOverResult {
    enum Status {
        Accepted, // the instance queued the line
        Refused,  // the instance answered but takes no line; reason says why
        Failed,   // the line could not be sent or no answer came; error is the errno value
        Gone,     // no instance answers any more
    } status = Gone;
    int error = 0;
    std::string reason;
};

// Hands line (at most kMaxHandOver bytes) to the resident instance.
HandOverResult HandOverCommandLine(const std::string& line);

// Sends the close request and waits until the instance has ended: up to ten
// seconds after the request and after each run the instance finishes before
// it. True when no instance answers any more.
bool CloseResidentInstance();
