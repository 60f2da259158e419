#include "platform/Console.h"

#include <unistd.h>

#include <iostream>

namespace {

// True when standard output is a terminal that was opened for this program
// alone (it leads its session, as under "xterm -e"): the window and the text
// in it go away when the program ends. A shell's terminal keeps the text, and
// so do files and pipes.
bool TextVanishesAtExit() { return isatty(STDOUT_FILENO) == 1 && getsid(0) == getpid(); }

} // namespace

void ShowConsoleScreen(const std::string& text) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    // Where the text would go away with the program, one answer line of up to
    // 4096 characters is awaited and thrown away; a shell's terminal, a file
    // or a pipe keeps the text, and an editor that holds standard input open
    // is not stalled.
    if (TextVanishesAtExit()) std::cin.ignore(4096, '\n');
}
