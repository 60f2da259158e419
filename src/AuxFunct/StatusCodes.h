// The codes left in exitCode: the status of file and instance operations and,
// at the end, the process exit code (a negative one leaves the process as its
// low eight bits). ErrorCodeText gives the wording of -2 to -9.
#pragma once

#include <cstdint>

enum StatusCode : std::int32_t {
    kStatusOk = 0,
    kLibraryMissing = 1,    // the numeric library cannot be loaded or lacks a function
    kFileNotReadable = -2,  // an input script or a statement's file cannot be read
    kFileNotWritable = -3,  // the output cannot be written
    kCancelledByUser = -4,  // worded, never set
    kNoInputSource = -5,    // no input source was named and the process is not resident
    kInstanceQuit = -6,     // /quit ended the resident instance
    kApiError = -7,         // worded, never set
    kWindowNotFound = -8,   // worded, never set
    kHandOverRefused = -9,  // the resident instance did not take the command line
    kInstanceNotEnded = -10, // /quit: the resident instance is busy, stopped or does not answer
    kNotResident = -11,      // /tsr: the process cannot stay resident
};
