// The resident instance's side of the mailbox: owning the socket, and a
// thread that serves the connections of the user's own processes side by
// side, answers them at once and queues the lines they commit. The requests
// are taken from the queue by the resident loop, in order of arrival, so
// nothing runs from inside the serving of a connection.
#pragma once

#include <cstdint>
#include <string>

struct MailboxRequest {
    bool close = false;      // the instance is asked to end
    std::string line;        // else: the command line handed over
    bool wait = false;       // its launcher waits for the run's report
    std::uint64_t ticket = 0; // which launcher the report goes to
};

// Becomes the owner of the mailbox. Under the folder's lock a socket that
// accepts connections belongs to another resident instance (false), a
// stale one is removed and a new socket is bound. wakeFd is written one
// byte ('m') whenever a request was queued. False, with the reason in why,
// when the mailbox cannot be opened.
bool OpenMailbox(int wakeFd, std::string& why);

// Tells the mailbox which command lines end the instance when they run. Once
// such a line is taken, the lines not yet taken are refused, so that none is
// accepted that would never run.
void SetLineEndsInstance(bool (*endsInstance)(const std::string& line));

// Moves the oldest queued request to request; false when none is waiting.
bool TakeMailboxRequest(MailboxRequest& request);

// Queues the instance's own close request (its window was closed, a signal
// asked it to end) behind the lines taken before it. Like a close request
// received, it makes the mailbox refuse the lines that arrive after it.
void QueueMailboxClose();

// Reports that the instance has run request: a launcher that waits for it
// gets exitCode and notes, and the launchers that wait for the instance to
// end learn that one more run before their close request is done.
void FinishMailboxRequest(const MailboxRequest& request, int exitCode, const std::string& notes);

// Stops serving (the reports still to be sent go out first, within about a
// second) and removes the socket when it is still this process's own.
// Launchers that wait for the end see it when the process exits. Does
// nothing when the mailbox is not open.
void CloseMailbox();
