#include "platform/heap.h"

#include <malloc.h>

namespace parlavo::server {

void KeepHeapSmall() {
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
  mallopt(M_ARENA_MAX, 4);
}

void ReturnFreeHeapMemory() { malloc_trim(0); }

}  // namespace parlavo::server
