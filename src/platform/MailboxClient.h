// The launcher's side of the mailbox: finding a resident instance, handing
// a command line over and asking the instance to end.
#pragma once

#include <string>

// True when a resident instance of this user answers at the mailbox, which
// stands for its window. A mailbox that cannot be reached for any reason
// other than there being none (a folder that is not the user's own or open to
// others, a socket of another user or one that may not be written) counts as
// none, with a note on standard error.
bool FindResidentWindow();

struct HandOverResult {
    enum Status {
        Accepted, // the line is the instance's: it runs
        Refused,  // the instance answered but takes no line; reason says why
        Failed,   // the line was not taken: error is the errno value, reason says why
        Gone,     // no instance answers any more
    } status = Gone;
    int error = 0;
    std::string reason;
    // With wait, for an accepted line: whether its run was reported, with
    // the run's exit code and notes.
    bool reported = false;
    int exitCode = 0;
    std::string notes;
};

// Hands line (at most MaxHandOverBytes() bytes) to the resident instance.
// The line runs exactly when the result is Accepted. With wait the launcher
// then waits for the run's end (as long as the instance shows it is alive)
// and gets its report.
HandOverResult HandOverCommandLine(const std::string& line, bool wait);

enum class CloseOutcome {
    Ended,       // no instance answers any more
    Busy,        // it took the request but is still running the lines before it
    Stopped,     // it took the request but was stopped (a signal, a debugger)
    NotAnswering,// it does not answer at all, or stopped answering
    Refused,     // it refused the request
};

// Sends the close request and waits until the instance has ended: up to ten
// seconds after the request and after each run the instance finishes before
// it. why says what happened when it did not end.
CloseOutcome CloseResidentInstance(std::string& why);
