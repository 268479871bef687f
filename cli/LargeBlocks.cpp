// Memory for large blocks in transparent huge pages.
//
// A century of daily steps fills series and texts of tens of megabytes, and
// the first touch of every 4 KiB page of a fresh block is a page fault: on a
// plain run of 365 000 steps those faults took about half of the time. The
// program's own operator new asks the system to back the whole 2 MiB pages
// inside a large block with huge pages (one fault each instead of 512). It
// is advice only: where the system does not follow it nothing changes, and
// blocks are still taken from and given back to malloc, so the library's
// operator delete frees them as usual.

#include <cstdint>
#include <cstdlib>
#include <new>

#include "Platform.h"

// Under AddressSanitizer the sanitizer's own operator new stays, so that it
// can still match every delete with its new.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HALOVANE_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define HALOVANE_ADDRESS_SANITIZER 1
#endif

// Only where the system gives huge pages to blocks from malloc.
#if defined(__linux__) && !defined(HALOVANE_ADDRESS_SANITIZER)

namespace {

constexpr std::size_t LargeBlock = std::size_t{2} << 20;  // may hold a whole huge page

}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) throw std::bad_alloc();
    if (size >= LargeBlock) halovane::platform::AdviseHugePages(block, size);
    return block;
}

#endif
