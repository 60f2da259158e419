// Runs one platform call in a process of its own for the GUI tests:
//   messagebox TEXT  shows TEXT in the "Tessara" box, prints "returned" after OK
//   quietbox TEXT    the same, as a resident instance shows it (leaving the focus where it is)
//   setclip TEXT     puts TEXT on the clipboard; exit status 0 on success
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string mode = argv[1];
    if (mode == "messagebox" || mode == "quietbox") {
        if (mode == "quietbox") LeaveFocusToOtherPrograms();
        ShowMessageBox("Tessara", argv[2]);
        std::puts("returned");
        return 0;
    }
    if (mode == "setclip") return ClipboardSetText(argv[2]) ? 0 : 1;
    return 2;
}
