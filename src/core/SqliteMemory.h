#pragma once

#include <cstddef>

// SQLite's memory. A first read of a large list decrypts tens of thousands of pages into buffers
// of one size; taken from the general heap, each new one faults in memory of its own, on every
// thread at once, and the heap keeps what a closed connection leaves. Here they come from one
// reserved region, cut into chunks that each hold buffers of one page size: a freed buffer is the
// next one of its size handed out, and a chunk whose buffers are all back is given back to the
// system, but for a few kept for the next read. Everything else goes to the general heap.
namespace SqliteMemory {

// Installs the allocator before SQLite starts, or it keeps its own. Buffers serve every page size
// SQLite allows, so each file's pages come here whatever page size it was written with.
void install();

// How many page buffers are handed out now; for the tests.
long buffersInUse();

// How many bytes of the region are resident in memory now; for the tests.
size_t residentBytes();

} // namespace SqliteMemory
