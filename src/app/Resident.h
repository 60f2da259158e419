// Resident mode: a launcher that finds a resident instance hands its command
// line over (or, with /quit, ends it); a process started with /tsr or /tsrv
// stays resident after its run and runs every command line handed to it.
#pragma once

#include "app/ProcessState.h"

// The resident check after each parse. With another instance resident:
// /quit asks it to end and waits for it (exitCode -6 once it went); without
// /i the process is then to end with -6 (true). Otherwise handOverF := 1.
bool CheckResidentInstance(ProcessState& ps);

// Hands CmdLn to the resident instance. True when the process is to end
// with exitCode: 0 when the instance took the line, -9 when it refused it
// or the line is too long, the errno value when sending failed. False when
// no instance takes lines any more (or this process is the resident one):
// the run goes on here.
bool HandOver(ProcessState& ps);

// Stays resident: runs each command line handed over and, with /gclp, each
// new clipboard text, until the instance is asked to end. True when a
// received command line ended the process itself (there is no "Program
// End" line then). Returns at once when the process cannot be resident.
bool StayResident(ProcessState& ps);
