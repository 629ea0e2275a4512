#pragma once

// SQLite's memory. A first read of a large list decrypts tens of thousands of pages into buffers
// of one size; taken from the general heap, each new one faults in memory of its own, on every
// thread at once. Here they come from one region taken in large pages as it fills, and a freed
// buffer is the next one handed out. Everything else goes to the general heap.
namespace SqliteMemory {

// Installs the allocator for the page buffers of files with pages of pageBytes; before SQLite
// starts, or it keeps its own.
void install(int pageBytes);

// How many page buffers are handed out now; for the tests.
long buffersInUse();

} // namespace SqliteMemory
