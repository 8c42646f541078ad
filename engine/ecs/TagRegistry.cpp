#include "ecs/TagRegistry.h"

namespace Varn::ECS
{

uint64_t TagRegistry::Register(const std::string& name)
{
    std::size_t bit = 0;
    while (bit < names.size() && names[bit] != name)
    {
        ++bit;
    }
    if (bit == names.size())
    {
        names.push_back(name);
    }
    return bit < USABLE_TAGS ? uint64_t{1} << bit : 0;
}

uint64_t TagRegistry::Value(const std::string& name) const
{
    for (std::size_t bit = 0; bit < names.size() && bit < USABLE_TAGS; ++bit)
    {
        if (names[bit] == name)
        {
            return uint64_t{1} << bit;
        }
    }
    return 0;
}

std::vector<std::string> TagRegistry::Names(uint64_t mask) const
{
    std::vector<std::string> found;
    for (std::size_t bit = 0; bit < names.size() && bit < 64; ++bit)
    {
        if ((mask >> bit) & 1u)
        {
            found.push_back(names[bit]);
        }
    }
    return found;
}

} // namespace Varn::ECS
