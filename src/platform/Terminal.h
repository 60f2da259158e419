// What becomes of the text the program writes to standard output.
#pragma once

// True when standard output is a terminal that was opened for this program
// alone (it leads its session, as under "xterm -e"): the window and the text
// in it go away when the program ends. A shell's terminal keeps the text, and
// so do files and pipes.
bool TextVanishesAtExit();
