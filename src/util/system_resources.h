#ifndef QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
#define QUILLMARK_UTIL_SYSTEM_RESOURCES_H_

#include <cstdint>

// The cores this process may run on (its affinity mask), at least 1.
int AvailableCores();

// The memory the system can give without swapping (MemAvailable), in bytes;
// 0 when it cannot be told.
uint64_t AvailableMemoryBytes();

// With the bootstrap's ImageMagick, makes every allocation of 4 MiB or more a
// mapping of its own, returned to the system when freed, instead of letting
// the allocator raise that bound as it sees large blocks freed. That
// ImageMagick's drawing takes a zeroed array of about 10 MB for every glyph
// outline it strokes and uses a sliver of it: mapped, the untouched rest
// costs nothing; taken from the heap, it is cleared byte by byte each time.
// With another ImageMagick, which writes the whole array, it does nothing.
void KeepLargeAllocationsMapped();

#endif  // QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
