#include "core/BlockPool.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
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

struct FreeBlock
{
    FreeBlock* next;
};

// Components are made on the main thread, so the lock is all but never contended; a flag costs
// half what a mutex does on each of the thousands of blocks a scene load makes and frees.
class SpinLock
{
public:
    void lock() noexcept
    {
        while (flag.test_and_set(std::memory_order_acquire))
        {
            std::this_thread::yield();
        }
    }
    void unlock() noexcept { flag.clear(std::memory_order_release); }

private:
    std::atomic_flag flag = ATOMIC_FLAG_INIT;
};

struct Pools
{
    SpinLock guard; // nothing here relies on the main thread being the only caller
    std::array<FreeBlock*, CLASSES> free{};
    std::vector<std::unique_ptr<std::byte[]>> chunks; // kept until exit: blocks point into them
};

Pools& ThePools()
{
    static Pools* pools = new Pools; // never destroyed: components may outlive static destructors
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
    const std::lock_guard<SpinLock> lock(pools.guard);
    FreeBlock*& head = pools.free[sizeClass];
    if (head == nullptr)
    {
        // A chunk's worth of blocks, threaded in address order so a run of allocations is too.
        const std::size_t blockBytes = (sizeClass + 1) * GRAIN;
        const std::size_t count = CHUNK_BYTES / blockBytes;
        pools.chunks.push_back(std::make_unique<std::byte[]>(count * blockBytes));
        std::byte* base = pools.chunks.back().get();
        for (std::size_t i = count; i-- > 0;)
        {
            auto* block = reinterpret_cast<FreeBlock*>(base + i * blockBytes);
            block->next = head;
            head = block;
        }
    }
    FreeBlock* block = head;
    head = block->next;
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
    const std::lock_guard<SpinLock> lock(pools.guard);
    auto* freed = static_cast<FreeBlock*>(block);
    FreeBlock*& head = pools.free[ClassOf(size)];
    freed->next = head;
    head = freed;
}

} // namespace Varn
