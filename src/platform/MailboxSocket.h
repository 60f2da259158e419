// The messages that a launcher and the resident instance exchange over the
// mailbox socket, and bounded socket input and output.
//
// A request is a header line followed by its payload:
//   "TSR2 LINE <n>\n" and the n bytes of a command line (n <= MaxHandOverBytes())
//   "TSR2 SYNC <n>\n" the same, for a launcher that waits for the run's end
//   "TSR2 CLOSE 0\n"  the request to end the instance
// The instance answers a line with "TSR2 READY\n" once it has room for it;
// the line is taken only when the launcher then sends kCommitByte. Until the
// instance has seen that byte it may give up on the line, and it does so by
// shutting its reading side first, so that a commit either arrives or fails
// for the launcher: a line runs exactly when its launcher could commit it.
// A close request is answered "TSR2 OK\n". A refusal is "TSR2 NO <reason>\n".
// A committed SYNC line gets kAliveByte about every second while it waits or
// runs, then "TSR2 DONE <exit code> <n>\n" and the n bytes of the run's
// notes. A close request's connection gets kAliveByte the same way and
// kRunDoneByte after each run the instance finishes before it ends; the
// instance's exit closes it. "TSR2" names the version of this format: a
// request of version 1 gets a refusal in its own format, any other is refused
// as unknown.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The longest command line handed over: as long as the system lets a program
// receive as its arguments (sysconf(_SC_ARG_MAX)), kept between 128 KiB and
// 64 MiB so that the bound holds without a stack limit too.
std::size_t MaxHandOverBytes();

constexpr std::size_t kMaxRequestHeader = 32; // a header line, "\n" included
constexpr std::size_t kMaxAnswer = 256;       // an answer line, "\n" included
constexpr char kCommitByte = 'Y';             // the launcher takes its line
constexpr char kAliveByte = '.';              // the instance is alive
constexpr char kRunDoneByte = '+';            // the instance finished a run

enum class RequestKind { Line, SyncLine, Close };

std::string EncodeRequest(RequestKind kind, std::string_view payload);

enum class AnswerKind { Ready, Ok, No, Done };

struct Answer {
    AnswerKind kind = AnswerKind::No;
    std::string reason;            // No: why
    int exitCode = 0;              // Done: the run's exit code
    std::size_t reportLength = 0;  // Done: the length of the notes that follow
};

std::string EncodeAnswer(AnswerKind kind);
std::string EncodeRefusal(std::string_view reason);
std::string EncodeRunReport(int exitCode, std::string_view notes);
// The refusal of a request of format version 1.
std::string EncodeOldVersionRefusal();

enum class HeaderStatus { Complete, Incomplete, Malformed, TooLong, OldVersion };

// Examines the bytes received so far. Complete sets kind, the payload's
// length and the header's size; Incomplete asks for more bytes.
HeaderStatus ParseRequestHeader(std::string_view received, RequestKind& kind, std::size_t& length,
                                std::size_t& headerSize);

// Reads a complete answer line; false when it is not one of this format.
bool ParseAnswer(std::string_view line, Answer& answer);

using Deadline = std::chrono::steady_clock::time_point;
Deadline DeadlineIn(std::chrono::milliseconds time);
int MillisecondsLeft(Deadline deadline);

// Writes all of data to the socket fd before deadline; false (errno set)
// when it cannot. Never raises SIGPIPE.
bool SendAll(int fd, std::string_view data, Deadline deadline);

// Appends what the socket fd delivers to buffer until done(buffer) holds.
// False when the peer ends first, buffer would grow beyond limit, an error
// occurs or the deadline passes (errno is then ETIMEDOUT).
bool ReceiveUntil(int fd, std::string& buffer, std::size_t limit,
                  const std::function<bool(const std::string&)>& done, Deadline deadline);

// True when the process at the other end of the connected socket fd runs
// as this process's user.
bool PeerIsSameUser(int fd);

// True when the process at the other end of the connected socket fd is
// stopped (by a signal or a debugger).
bool PeerIsStopped(int fd);

// A stream socket connected to the mailbox at path, waiting at most about
// two seconds. Returns -1 with errno set when none answers there.
int ConnectToMailbox(const std::string& path);

// A stream socket bound to path, readable and writable by the user alone
// whatever the umask, and listening before it appears at path (it is made
// at path + kStagingSuffix first). Returns -1 with errno set.
constexpr std::string_view kStagingSuffix = ".new";
int ListenOnMailbox(const std::string& path);
