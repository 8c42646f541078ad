#pragma once
// Fixed-size blocks for small objects made and destroyed in bulk (components): one free list
// per 16-byte size class, carved from chunks that live as long as the process. A scene of
// thousands of entities then costs no trip through the general allocator per component, and
// objects of a class made one after another lie side by side, which the systems' loops over
// them feel. Under AddressSanitizer every block comes from the general allocator, so a use
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

} // namespace Varn
