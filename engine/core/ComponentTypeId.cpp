#include "core/ComponentTypeId.h"

#include <mutex>
#include <unordered_map>

namespace Varn
{

uint32_t ComponentTypeId(std::type_index type)
{
    static std::mutex guard;
    static std::unordered_map<std::type_index, uint32_t> ids;
    const std::lock_guard<std::mutex> lock(guard);
    return ids.try_emplace(type, static_cast<uint32_t>(ids.size() + 1)).first->second;
}

} // namespace Varn
