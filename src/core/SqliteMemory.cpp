#include "core/SqliteMemory.h"

#include <sqlcipher/sqlite3.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace SqliteMemory {

namespace {

// Chunks of the size of a large page, so that a chunk given back leaves no part of one behind.
constexpr size_t ChunkBytes = size_t(2) << 20;
// Address space for page buffers, memory only where used: some 1.5 million pages of 1 KiB. Past it
// buffers come from the general heap.
constexpr size_t Chunks = 1024;
constexpr size_t Reserved = Chunks * ChunkBytes;
// Emptied chunks kept for the next read rather than given back: a read that closes its
// connections would otherwise fault its memory in anew each time.
constexpr int KeptEmpty = 8;

// The page sizes SQLite allows, 512 to 65536 bytes: one class of buffers each.
constexpr int SmallestPageShift = 9;
constexpr int Classes = 8;

using ChunkSet = std::array<std::uint64_t, Chunks / 64>;

void add(ChunkSet &set, size_t chunk)
{
    set[chunk / 64] |= std::uint64_t(1) << (chunk % 64);
}

void remove(ChunkSet &set, size_t chunk)
{
    set[chunk / 64] &= ~(std::uint64_t(1) << (chunk % 64));
}

// The lowest chunk of the set, or Chunks: taking the lowest first keeps the buffers in few chunks,
// so that chunks empty when a connection closes.
size_t lowest(const ChunkSet &set)
{
    for (size_t word = 0; word < set.size(); ++word)
        if (set[word])
            return word * 64 + size_t(std::countr_zero(set[word]));
    return Chunks;
}

struct Chunk
{
    int sizeClass = -1; // -1: holds no buffers
    int used = 0;
    size_t carved = 0;     // bytes from the chunk's start handed out at least once
    void *freed = nullptr; // the buffers given back, each holding the next one's address
};

char *region = nullptr;
size_t header = 0; // SQLite's bytes beside each page
std::array<size_t, Classes> bufferBytes{};

// Everything here is set up before any constructor runs: SQLite may be configured by another
// file's static initialisation, before this one's.
std::mutex guard;
std::array<Chunk, Chunks> chunks{};
std::array<ChunkSet, Classes> withRoom{}; // per class, the chunks that can hand out a buffer
ChunkSet emptyResident{};                 // empty chunks whose memory is kept
ChunkSet emptyGivenBack{};                // empty chunks that hold no memory
int keptEmpty = 0;
size_t touchedEnd = 0; // the region's bytes up to the end of the last chunk ever used
long inUse = 0;

bool isBuffer(const void *p)
{
    return region && p >= region && p < region + Reserved;
}

// The class of a request for a page and SQLite's bytes beside it, or -1.
int classOf(int bytes)
{
    if (!region || bytes <= (1 << SmallestPageShift))
        return -1;
    const auto page = std::bit_floor(unsigned(bytes - 1));
    const int sizeClass = std::countr_zero(page) - SmallestPageShift;
    if (sizeClass >= Classes || size_t(bytes) > bufferBytes[size_t(sizeClass)])
        return -1;
    return sizeClass;
}

size_t chunkOf(const void *p)
{
    return size_t(static_cast<const char *>(p) - region) / ChunkBytes;
}

// An empty chunk made ready for buffers of a class: a kept one first, its memory already there.
// fresh tells where a chunk without memory begins.
size_t startChunk(int sizeClass, char *&fresh)
{
    size_t index = lowest(emptyResident);
    if (index < Chunks) {
        remove(emptyResident, index);
        --keptEmpty;
    } else {
        index = lowest(emptyGivenBack);
        if (index == Chunks)
            return Chunks;
        remove(emptyGivenBack, index);
        touchedEnd = std::max(touchedEnd, (index + 1) * ChunkBytes);
        fresh = region + index * ChunkBytes;
    }
    chunks[index] = Chunk{sizeClass, 0, 0, nullptr};
    add(withRoom[size_t(sizeClass)], index);
    return index;
}

void *takeBuffer(int sizeClass)
{
    char *fresh = nullptr;
    char *buffer = nullptr;
    {
        const std::lock_guard<std::mutex> lock(guard);
        size_t index = lowest(withRoom[size_t(sizeClass)]);
        if (index == Chunks)
            index = startChunk(sizeClass, fresh);
        if (index == Chunks)
            return nullptr;
        Chunk &chunk = chunks[index];
        const size_t size = bufferBytes[size_t(sizeClass)];
        buffer = static_cast<char *>(chunk.freed);
        if (buffer) {
            std::memcpy(&chunk.freed, buffer, sizeof chunk.freed);
        } else {
            buffer = region + index * ChunkBytes + chunk.carved;
            chunk.carved += size;
        }
        if (!chunk.freed && chunk.carved + size > ChunkBytes)
            remove(withRoom[size_t(sizeClass)], index);
        ++chunk.used;
        ++inUse;
    }
#ifdef MADV_POPULATE_WRITE
    // The new chunk's memory in one call, outside the lock, instead of a fault for each of its
    // small pages; a kernel without the call faults them in as they are touched.
    if (fresh)
        madvise(fresh, ChunkBytes, MADV_POPULATE_WRITE);
#endif
    return buffer;
}

void *allocate(int bytes)
{
    const int sizeClass = classOf(bytes);
    if (sizeClass >= 0)
        if (void *buffer = takeBuffer(sizeClass))
            return buffer;
    return std::malloc(size_t(bytes));
}

void release(void *p)
{
    if (!isBuffer(p)) {
        std::free(p);
        return;
    }
    const std::lock_guard<std::mutex> lock(guard);
    const size_t index = chunkOf(p);
    Chunk &chunk = chunks[index];
    std::memcpy(p, &chunk.freed, sizeof chunk.freed);
    chunk.freed = p;
    add(withRoom[size_t(chunk.sizeClass)], index);
    --inUse;
    if (--chunk.used > 0)
        return;
    remove(withRoom[size_t(chunk.sizeClass)], index);
    chunk = Chunk{};
    if (keptEmpty < KeptEmpty) {
        add(emptyResident, index);
        ++keptEmpty;
    } else {
        // The address range stays reserved; its memory goes back to the system.
        madvise(region + index * ChunkBytes, ChunkBytes, MADV_DONTNEED);
        add(emptyGivenBack, index);
    }
}

size_t sizeOfBuffer(void *p)
{
    const std::lock_guard<std::mutex> lock(guard);
    return bufferBytes[size_t(chunks[chunkOf(p)].sizeClass)];
}

int sizeOf(void *p)
{
    return isBuffer(p) ? int(sizeOfBuffer(p)) : int(malloc_usable_size(p));
}

void *resize(void *p, int bytes)
{
    if (!isBuffer(p))
        return std::realloc(p, size_t(bytes));
    const size_t size = sizeOfBuffer(p);
    if (size_t(bytes) <= size)
        return p;
    void *larger = std::malloc(size_t(bytes));
    if (!larger)
        return nullptr;
    std::memcpy(larger, p, size);
    release(p);
    return larger;
}

int roundUp(int bytes)
{
    const int sizeClass = classOf(bytes);
    return sizeClass >= 0 ? int(bufferBytes[size_t(sizeClass)]) : (bytes + 7) & ~7;
}

int start(void *)
{
    return SQLITE_OK;
}

void stop(void *) {}

} // namespace

void install()
{
    int extra = 0;
    sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &extra);
    // One chunk more than needed, so that the chunks can start on a large page's boundary.
    void *reserved = mmap(nullptr, Reserved + ChunkBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED)
        return;
    const auto address = reinterpret_cast<std::uintptr_t>(reserved);
    char *aligned =
        static_cast<char *>(reserved) + (ChunkBytes - address % ChunkBytes) % ChunkBytes;
    static const sqlite3_mem_methods methods = {allocate, release, resize, sizeOf,
                                                roundUp,  start,   stop,   nullptr};
    header = size_t(extra);
    for (int sizeClass = 0; sizeClass < Classes; ++sizeClass)
        bufferBytes[size_t(sizeClass)] =
            ((size_t(1) << (SmallestPageShift + sizeClass)) + header + 15) / 16 * 16;
    for (size_t index = 0; index < Chunks; ++index)
        add(emptyGivenBack, index);
    // In large pages: a chunk is then one page to fault in rather than 512, and where memory is
    // virtualised the first touch of every small page is slow even once it is populated.
    madvise(aligned, Reserved, MADV_HUGEPAGE);
    region = aligned;
    // Without a first block of pages taken at once for each connection, every page is a buffer.
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    if (sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) != SQLITE_OK) {
        region = nullptr;
        munmap(reserved, Reserved + ChunkBytes);
    }
}

long buffersInUse()
{
    const std::lock_guard<std::mutex> lock(guard);
    return inUse;
}

size_t residentBytes()
{
    const std::lock_guard<std::mutex> lock(guard);
    if (!region || touchedEnd == 0)
        return 0;
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((touchedEnd + page - 1) / page);
    if (mincore(region, touchedEnd, resident.data()) != 0)
        return 0;
    size_t bytes = 0;
    for (const unsigned char flags : resident)
        if (flags & 1)
            bytes += page;
    return bytes;
}

} // namespace SqliteMemory
