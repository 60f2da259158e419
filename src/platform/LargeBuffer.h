// Backing large buffers with huge pages.
#pragma once

#include <cstddef>

// Asks the kernel to back the 2 MiB-aligned part of the size bytes at data
// with transparent huge pages, before they are first written: a buffer of
// many megabytes then costs a few page faults instead of thousands. Only
// advice: small buffers, and kernels that refuse, are left as they are.
void AdviseLargeBuffer(void* data, std::size_t size);
