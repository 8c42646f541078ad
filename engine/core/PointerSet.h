#pragma once
// A set of pointers in one flat table (open addressing, linear probing). Working sets and
// scene lists ask "is this entity a member?" for every registration; a node-based set made
// one allocation per member, which was most of the cost of loading a large scene.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Varn
{

class PointerSet
{
public:
    // True when the pointer was not a member yet. Null is never a member.
    bool insert(const void* p)
    {
        if (p == nullptr)
        {
            return false;
        }
        if ((count + 1) * 4 > slots.size() * 3) // at most three quarters full
        {
            Rehash(slots.empty() ? 16 : slots.size() * 2);
        }
        std::size_t i = Home(p);
        while (slots[i] != nullptr)
        {
            if (slots[i] == p)
            {
                return false;
            }
            i = (i + 1) & (slots.size() - 1);
        }
        slots[i] = p;
        ++count;
        return true;
    }

    bool contains(const void* p) const { return p != nullptr && Find(p) != NONE; }

    // Returns how many were removed: 0 or 1.
    std::size_t erase(const void* p)
    {
        std::size_t hole = p == nullptr ? NONE : Find(p);
        if (hole == NONE)
        {
            return 0;
        }
        // Backward shift: later members of the same run move into the hole, so every member
        // stays reachable from its home slot without tombstones.
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = (hole + 1) & mask; slots[i] != nullptr; i = (i + 1) & mask)
        {
            const std::size_t home = Home(slots[i]);
            // Movable when its home does not lie cyclically in (hole, i].
            if (((i - home) & mask) >= ((i - hole) & mask))
            {
                slots[hole] = slots[i];
                hole = i;
            }
        }
        slots[hole] = nullptr;
        --count;
        return 1;
    }

    // Keeps the table's size: a scene emptied and loaded again refills the same slots.
    void clear()
    {
        if (count != 0)
        {
            std::fill(slots.begin(), slots.end(), nullptr);
            count = 0;
        }
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }

private:
    static constexpr std::size_t NONE = ~std::size_t{0};

    std::size_t Home(const void* p) const
    {
        // Fibonacci hashing of the address: allocations are aligned, so the low bits alone
        // would crowd every pointer into a few slots.
        const uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> 32) & (slots.size() - 1);
    }

    std::size_t Find(const void* p) const
    {
        if (slots.empty())
        {
            return NONE;
        }
        for (std::size_t i = Home(p);; i = (i + 1) & (slots.size() - 1))
        {
            if (slots[i] == p)
            {
                return i;
            }
            if (slots[i] == nullptr)
            {
                return NONE;
            }
        }
    }

    void Rehash(std::size_t size)
    {
        std::vector<const void*> old(size, nullptr);
        old.swap(slots);
        count = 0;
        for (const void* p : old)
        {
            if (p != nullptr)
            {
                insert(p);
            }
        }
    }

    std::vector<const void*> slots; // a power of two in size, or empty
    std::size_t count = 0;
};

} // namespace Varn
