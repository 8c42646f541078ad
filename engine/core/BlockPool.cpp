#include "core/BlockPool.h"

#include <array>
#include <memory>
#include <new>
#include <vector>

namespace Varn
{

namespace
{

#if defined(__SANITIZE_ADDRESS__)
constexpr bool POOLED = false;
#else
constexpr bool POOLED = true;
#endif

constexpr std::size_t GRAIN = 16; // every block is aligned to this, like the general allocator
constexpr std::size_t CLASSES = BlockPool::LARGEST / GRAIN;
constexpr std::size_t CHUNK_BYTES = 64 * 1024;

struct Pools
{
    // Free blocks per class, as a stack of addresses rather than a list threaded through the
    // blocks: taking one then reads no block, so a large scene's load does not wait on a cache
    // miss per component to learn where the next one is. Each stack has room for every block of
    // its class carved on its thread, so freeing on the thread that made a block never allocates.
    std::array<std::vector<void*>, CLASSES> free;
    std::vector<std::unique_ptr<std::byte[]>> chunks; // kept until exit: blocks point into them
};

// Each thread keeps its own blocks, so taking or giving back a block needs no lock: a locked
// instruction per block, waiting on every store before it, was a twentieth of a large scene's
// load. Components are made on the main thread anyway; a block freed on another thread joins
// that thread's blocks. Pools are never destroyed: their blocks may still be in use after the
// thread ends or the static destructors run.
Pools& ThePools()
{
    thread_local Pools* pools = new Pools;
    return *pools;
}

std::size_t ClassOf(std::size_t size)
{
    return (size + GRAIN - 1) / GRAIN - 1;
}

} // namespace

void* BlockPool::Allocate(std::size_t size)
{
    if (!POOLED || size == 0 || size > LARGEST)
    {
        return ::operator new(size);
    }
    const std::size_t sizeClass = ClassOf(size);
    Pools& pools = ThePools();
    std::vector<void*>& free = pools.free[sizeClass];
    if (free.empty())
    {
        // A chunk's worth of blocks, stacked so that a run of allocations goes up in address.
        const std::size_t blockBytes = (sizeClass + 1) * GRAIN;
        const std::size_t count = CHUNK_BYTES / blockBytes;
        pools.chunks.push_back(std::make_unique<std::byte[]>(count * blockBytes));
        std::byte* base = pools.chunks.back().get();
        free.reserve(free.capacity() + count);
        for (std::size_t i = count; i-- > 0;)
        {
            free.push_back(base + i * blockBytes);
        }
    }
    void* block = free.back();
    free.pop_back();
    return block;
}

void BlockPool::Free(void* block, std::size_t size) noexcept
{
    if (block == nullptr)
    {
        return;
    }
    if (!POOLED || size == 0 || size > LARGEST)
    {
        ::operator delete(block);
        return;
    }
    Pools& pools = ThePools();
    pools.free[ClassOf(size)].push_back(block);
}

} // namespace Varn
