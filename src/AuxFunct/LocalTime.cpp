#include "AuxFunct/LocalTime.h"

#include <ctime>

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y - %H:%M:%S", &local);
    return std::string(text, length);
}
