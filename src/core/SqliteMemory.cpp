#include "core/SqliteMemory.h"

#include <sqlcipher/sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <sys/mman.h>

namespace SqliteMemory {

namespace {

// Address space for page buffers, memory only where used: some 1.5 million pages. Past it buffers
// come from the general heap.
constexpr size_t Reserved = size_t(2) << 30;

size_t smallest = 0; // requests larger than this and up to a buffer's size are page buffers
size_t bufferBytes = 0;
char *region = nullptr;

std::mutex guard;
char *unused = nullptr; // the region's part never handed out
void *freed = nullptr;  // the buffers given back, each holding the next one's address
long inUse = 0;

bool isBuffer(const void *p)
{
    return region && p >= region && p < region + Reserved;
}

bool isPageSized(int bytes)
{
    return region && size_t(bytes) > smallest && size_t(bytes) <= bufferBytes;
}

void *allocate(int bytes)
{
    if (isPageSized(bytes)) {
        const std::lock_guard<std::mutex> lock(guard);
        void *buffer = freed;
        if (buffer) {
            std::memcpy(&freed, buffer, sizeof freed);
        } else if (unused + bufferBytes <= region + Reserved) {
            buffer = unused;
            unused += bufferBytes;
        }
        if (buffer) {
            ++inUse;
            return buffer;
        }
    }
    return std::malloc(size_t(bytes));
}

void release(void *p)
{
    if (!isBuffer(p)) {
        std::free(p);
        return;
    }
    const std::lock_guard<std::mutex> lock(guard);
    std::memcpy(p, &freed, sizeof freed);
    freed = p;
    --inUse;
}

int sizeOf(void *p)
{
    return isBuffer(p) ? int(bufferBytes) : int(malloc_usable_size(p));
}

void *resize(void *p, int bytes)
{
    if (!isBuffer(p))
        return std::realloc(p, size_t(bytes));
    if (size_t(bytes) <= bufferBytes)
        return p;
    void *larger = std::malloc(size_t(bytes));
    if (!larger)
        return nullptr;
    std::memcpy(larger, p, bufferBytes);
    release(p);
    return larger;
}

int roundUp(int bytes)
{
    return isPageSized(bytes) ? int(bufferBytes) : (bytes + 7) & ~7;
}

int start(void *)
{
    return SQLITE_OK;
}

void stop(void *) {}

} // namespace

void install(int pageBytes)
{
    int header = 0;
    sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header);
    void *reserved = mmap(nullptr, Reserved, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (reserved == MAP_FAILED)
        return;
    madvise(reserved, Reserved, MADV_HUGEPAGE);
    static const sqlite3_mem_methods methods = {allocate, release, resize, sizeOf,
                                                roundUp,  start,   stop,   nullptr};
    smallest = size_t(pageBytes);
    bufferBytes = (size_t(pageBytes + header) + 15) / 16 * 16;
    region = static_cast<char *>(reserved);
    unused = region;
    // Without a first block of pages taken at once for each connection, every page is a buffer.
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    if (sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) != SQLITE_OK) {
        region = nullptr;
        munmap(reserved, Reserved);
    }
}

long buffersInUse()
{
    const std::lock_guard<std::mutex> lock(guard);
    return inUse;
}

} // namespace SqliteMemory
