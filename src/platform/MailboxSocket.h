// The messages that a launcher and the resident instance exchange over the
// mailbox socket, and bounded socket input and output.
//
// A request is a header line followed by its payload:
//   "TSR1 LINE <n>\n" and the n bytes of a command line (n <= kMaxHandOver)
//   "TSR1 CLOSE 0\n"  the request to end the instance
// The answer is one line: "TSR1 OK\n", or "TSR1 NO <reason>\n". "TSR1" names
// the version of this format; a peer of another version is refused.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

constexpr std::size_t kMaxHandOver = 65536;  // the longest command line handed over
constexpr std::size_t kMaxRequestHeader = 32; // a header line, "\n" included
constexpr std::size_t kMaxAnswer = 256;       // an answer line, "\n" included

enum class RequestKind { Line, Close };

std::string EncodeRequest(RequestKind kind, std::string_view payload);
std::string EncodeAnswer(bool accepted, std::string_view reason);

enum class HeaderStatus { Complete, Incomplete, Malformed, TooLong };

// Examines the bytes received so far. Complete sets kind, the payload's
// length and the header's size; Incomplete asks for more bytes.
HeaderStatus ParseRequestHeader(std::string_view received, RequestKind& kind, std::size_t& length,
                                std::size_t& headerSize);

// Reads a complete answer line; false when it is not one of this format.
bool ParseAnswer(std::string_view line, bool& accepted, std::string& reason);

using Deadline = std::chrono::steady_clock::time_point;
Deadline DeadlineIn(std::chrono::milliseconds time);

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

// A stream socket connected to the mailbox at path, waiting at most about
// two seconds. Returns -1 with errno set when none answers there.
int ConnectToMailbox(const std::string& path);

// A stream socket bound to path and listening. Returns -1 with errno set.
int ListenOnMailbox(const std::string& path);
