#include "util/system_resources.h"

#include <malloc.h>
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

int AvailableCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof(set), &set) == 0) {
    int count = CPU_COUNT(&set);
    if (count > 0)
      return count;
  }
  long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(online) : 1;
}

uint64_t AvailableMemoryBytes() {
  FILE* file = std::fopen("/proc/meminfo", "re");
  if (file != nullptr) {
    char line[256];
    unsigned long long kib = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof(line), file) != nullptr)
      found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
    std::fclose(file);
    if (found)
      return static_cast<uint64_t>(kib) * 1024;
  }
  long pages = sysconf(_SC_AVPHYS_PAGES);
  long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0)
    return 0;
  return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

void TuneAllocator() {
#if defined(QUILLMARK_IM_PRIMITIVE_PAD_IN_ENTRIES)
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#elif defined(QUILLMARK_IM_ZEROED_PRIMITIVES)
  mallopt(M_MMAP_THRESHOLD, 4 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}
