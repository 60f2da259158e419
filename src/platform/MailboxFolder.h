// The private folder that holds the resident instance's mailbox socket:
// $XDG_RUNTIME_DIR/tessara/, else (no runtime folder, or one so deep that the
// socket's name would be too long for a socket) /tmp/tessara-<uid>/.
#pragma once

#include <string>

// The folder's path, ending in "/".
std::string MailboxFolderPath();

// The path of the mailbox socket in the folder.
std::string MailboxSocketPath();

enum class FolderState {
    Usable,  // a real folder of the user's own, closed to others
    Missing, // no folder (and none was to be created)
    Refused, // not a folder, not the user's, open to others, or not creatable
};

// Checks the folder; with create, a missing one is made with mode 0700
// first, and one of the user's own that the umask left without write or
// search access for the user gets it. why receives the reason of a refusal.
FolderState CheckMailboxFolder(bool create, std::string& why);

// Takes the folder's lock (flock on a file in it) that makes checking,
// removing and binding the socket one step; waits at most about two
// seconds for another holder. Returns the lock's descriptor, or -1 with
// the reason in why.
int LockMailboxFolder(std::string& why);

// Releases a lock taken by LockMailboxFolder.
void UnlockMailboxFolder(int lock);
