// Windows gives large pages only to processes with a privilege that users do
// not hold, so large buffers keep the ordinary pages.
#include "platform/LargeBuffer.h"

void AdviseLargeBuffer(void*, std::size_t) {}
