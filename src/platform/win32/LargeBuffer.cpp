// Windows gives large pages only to processes with a privilege that users do
// not hold. Instead the pages of a large buffer are brought in at once before
// it is written, by locking them in memory and letting go again: one call in
// place of a page fault every 4 KiB. Where the lock is refused (it is bounded
// by the working set's minimum) the pages come in one by one as before.
#include "platform/LargeBuffer.h"

#include <windows.h>

namespace {

constexpr std::size_t kLargeBuffer = std::size_t{1} << 20;

} // namespace

void AdviseLargeBuffer(void* data, std::size_t size) {
    if (size < kLargeBuffer) return;
    if (VirtualLock(data, size)) VirtualUnlock(data, size);
}
