#ifndef QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
#define QUILLMARK_UTIL_SYSTEM_RESOURCES_H_

#include <cstdint>

// The cores this process may run on (its affinity mask), at least 1.
int AvailableCores();

// The memory the system can give without swapping (MemAvailable), in bytes;
// 0 when it cannot be told.
uint64_t AvailableMemoryBytes();

// With the bootstrap's ImageMagick, fixes the allocator's two bounds instead
// of letting it move them as it sees large blocks freed: every allocation of
// 4 MiB or more is a mapping of its own, and the heap keeps up to 64 MiB of
// freed memory. That ImageMagick's drawing takes a zeroed array of about
// 10 MB for every glyph outline it strokes and uses a sliver of it: mapped,
// the untouched rest costs nothing, where from the heap it is cleared byte
// by byte each time. The smaller blocks of one canvas then reuse the memory
// of the canvas before instead of faulting in fresh pages. With another
// ImageMagick, which writes the whole array, it does nothing: there the
// moving bound is what keeps the array in the heap.
void TuneAllocator();

#endif  // QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
