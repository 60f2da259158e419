// Raw peers of the resident mailbox for the tests: a connection to a Unix
// socket, a socket of the test's own at a path, and one request exchanged
// with the instance the way a launcher does it.
#pragma once

#include <string>

// A connection to the Unix socket at path, or -1 when none accepts there.
// A non-blocking connection returns at once, even to a socket whose queue
// of connections is full.
int ConnectMailbox(const std::string& path, bool nonBlocking = false);

// A socket bound at path and listening with the given backlog, or -1.
int ListenAt(const std::string& path, int backlog);

// Sends request on a new connection, commits a line the instance is ready
// for, and returns everything the instance answers until it closes the
// connection (or stays silent for five seconds); "<no connection>" when no
// connection can be made.
std::string ExchangeWithMailbox(const std::string& path, const std::string& request);
