#include "platform/Console.h"

#include <iostream>

void ShowConsoleScreen(const std::string& text) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.flush();
    std::cin.ignore(4096, '\n');
}
