#include "AuxFunct/LocalTime.h"

#include "platform/LocalClock.h"

std::string LocalTimeText() {
    const std::tm local = CurrentLocalTime();
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y - %H:%M:%S", &local);
    return std::string(text, length);
}
