// The resident instance's side of the mailbox: owning the socket, and a
// thread that accepts the connections of the user's own processes, answers
// them at once and queues what they ask for. The requests are taken from
// the queue by the resident loop, in order of arrival, so nothing runs from
// inside the serving of a connection.
#pragma once

#include <string>

struct MailboxRequest {
    bool close = false; // the instance is asked to end
    std::string line;   // else: the command line handed over
};

// Becomes the owner of the mailbox. Under the folder's lock a socket that
// accepts connections belongs to another resident instance (false), a
// stale one is removed and a new socket is bound. wakeFd is written one
// byte ('m') whenever a request was queued. False, with the reason in why,
// when the mailbox cannot be opened.
bool OpenMailbox(int wakeFd, std::string& why);

// Moves the oldest queued request to request; false when none is waiting.
bool TakeMailboxRequest(MailboxRequest& request);

// Queues the instance's own close request (its window was closed, a signal
// asked it to end). Like a close request received, it makes the mailbox
// refuse the lines that arrive after it.
void QueueMailboxClose();

// Tells the launchers that wait for the instance to end that one more run
// before their close request is done.
void ReportRunToClosers();

// Stops serving and removes the socket when it is still this process's
// own. Launchers that wait for the end see it when the process exits.
// Does nothing when the mailbox is not open.
void CloseMailbox();
