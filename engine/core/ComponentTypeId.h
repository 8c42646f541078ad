#pragma once
// A small integer per component class, handed out on first use and kept for the life of the
// process: finding an entity's component, and telling which systems need it, compares these
// instead of type names.
#include <cstdint>
#include <typeindex>
#include <typeinfo>

namespace Varn
{

uint32_t ComponentTypeId(std::type_index type);
template <typename T> uint32_t ComponentTypeIdOf()
{
    static const uint32_t id = ComponentTypeId(typeid(T));
    return id;
}

} // namespace Varn
