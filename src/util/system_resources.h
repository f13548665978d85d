#ifndef QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
#define QUILLMARK_UTIL_SYSTEM_RESOURCES_H_

#include <cstdint>

// The cores this process may run on (its affinity mask), at least 1.
int AvailableCores();

// The memory the system can give without swapping (MemAvailable), in bytes;
// 0 when it cannot be told.
uint64_t AvailableMemoryBytes();

#endif  // QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
