// File and folder requesters through FLTK's native chooser.
#include "platform/FileChooser.h"

#include <FL/Fl_Native_File_Chooser.H>

#include <unistd.h>

#include <climits>

namespace {

// Runs the chooser; the chosen name, or empty when cancelled. Some
// choosers move the current folder: it is put back.
std::string Run(Fl_Native_File_Chooser& chooser) {
    char saved[PATH_MAX];
    const bool haveSaved = getcwd(saved, sizeof saved) != nullptr;
    const int status = chooser.show();
    if (haveSaved && chdir(saved) != 0) {
        // The folder vanished meanwhile; nothing else to go back to.
    }
    const char* name = chooser.filename();
    return status == 0 && name != nullptr ? std::string(name) : std::string();
}

} // namespace

std::string ChooseFile(const char* title, const char* filters) {
    // The save form of the chooser accepts names of files that do not exist.
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    chooser.title(title);
    chooser.filter(filters);
    chooser.filter_value(0);
    chooser.options(Fl_Native_File_Chooser::NO_OPTIONS);
    return Run(chooser);
}

std::string ChooseFolder(const char* title, const std::string& startFolder) {
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_DIRECTORY);
    chooser.title(title);
    if (!startFolder.empty()) chooser.directory(startFolder.c_str());
    std::string folder = Run(chooser);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}
