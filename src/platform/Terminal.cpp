#include "platform/Terminal.h"

#include <unistd.h>

bool TextVanishesAtExit() { return isatty(STDOUT_FILENO) == 1 && getsid(0) == getpid(); }
