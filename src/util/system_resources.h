#ifndef QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
#define QUILLMARK_UTIL_SYSTEM_RESOURCES_H_

#include <cstdint>

// The cores this process may run on (its affinity mask), at least 1.
int AvailableCores();

// The memory the system can give without swapping (MemAvailable), in bytes;
// 0 when it cannot be told.
uint64_t AvailableMemoryBytes();

// With the bootstrap's ImageMagick, fixes the allocator's two bounds instead
// of letting it move them as it sees large blocks freed; the heap keeps up
// to 64 MiB of freed memory, so that one canvas reuses the memory of the
// canvas before instead of faulting in fresh pages.
// - When its drawing primitives grow by a pad counted in entries (a few
//   hundred kilobytes per glyph outline), blocks below 64 MiB come from the
//   heap: a float canvas of 1000x340 is 5.4 MB, and as a mapping of its own
//   every new or copied image was faulted in and unmapped again (banners
//   took about 1.5 times the CPU time with 4 MiB).
// - When it only grows them in zeroed memory, by about 10 MB for every
//   glyph outline it strokes, every block of 4 MiB or more is a mapping of
//   its own: the untouched rest of that array costs nothing, where from the
//   heap it is cleared byte by byte each time.
// With another ImageMagick, which writes the whole array, it does nothing:
// there the moving bound is what keeps the array in the heap.
void TuneAllocator();

#endif  // QUILLMARK_UTIL_SYSTEM_RESOURCES_H_
