// The conventions of the platform that the code above this layer follows:
// file names and the command line.
#pragma once

#ifdef _WIN32
// Folders are separated, and end, with "\".
inline constexpr char kPathSeparator = '\\';
// Every "/" of a command line begins an option field, as paths have none.
inline constexpr bool kSlashInPaths = false;
inline constexpr const char* kKalvexLibraryFile = "Kalvex.dll";
#else
inline constexpr char kPathSeparator = '/';
// Paths contain "/": only some "/" of a command line begin an option field.
inline constexpr bool kSlashInPaths = true;
inline constexpr const char* kKalvexLibraryFile = "libKalvex.so";
#endif
