#pragma once
// Fixed-size blocks for small objects made and destroyed in bulk (components): one free list
// per 16-byte size class, carved from chunks that live as long as the process. A scene of
// thousands of entities then costs no trip through the general allocator per component, and
// objects of a class made one after another lie side by side, which the systems' loops over
// them feel. Each thread has its own blocks, so no call takes a lock; a block may be freed on
// any thread. Under AddressSanitizer every block comes from the general allocator, so a use
// after free is still caught.
#include <cstddef>

namespace Varn
{

class BlockPool
{
public:
    static constexpr std::size_t LARGEST = 1024; // larger objects go to the general allocator

    static void* Allocate(std::size_t size);
    // `size` must be the size given to Allocate.
    static void Free(void* block, std::size_t size) noexcept;
};

// A standard allocator over the pool, for the small containers each component fills when it is
// made: a loaded scene then frees and makes them without the general allocator too.
template <typename T> struct BlockAllocator
{
    using value_type = T;

    BlockAllocator() = default;
    template <typename U> BlockAllocator(const BlockAllocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t count) { return static_cast<T*>(BlockPool::Allocate(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) noexcept { BlockPool::Free(block, count * sizeof(T)); }
    friend bool operator==(const BlockAllocator& /*a*/, const BlockAllocator& /*b*/) { return true; }
};

} // namespace Varn
