#pragma once
// One entry of a component's reflection list: the serialised key, the run-time type name of
// the field and the field's address inside its component. The generic block reader walks
// these lists, so a component's list must be rebuilt whenever the component is copied.
//
// Keys are the literals of the component classes and type names come from typeid, both with
// static storage, so an entry owns nothing: every component built during a load builds its
// list without a single string allocation.
#include <cstring>
#include <string_view>
#include <typeinfo>

namespace Varn::ECS
{

struct Property
{
    std::string_view key;           // serialised key, e.g. "Gravity Scale"; a string literal
    const char* typeName = nullptr; // typeid(field type).name()
    void* field = nullptr;          // points into the owning component
    // Every field is; a stored flag padded each entry by a quarter, and a large scene holds
    // hundreds of thousands of entries.
    static constexpr bool editable = true;

    template <typename T> static Property Of(std::string_view key, T* field)
    {
        return Property{key, typeid(T).name(), field};
    }

    template <typename T> bool Is() const
    {
        const char* name = typeid(T).name();
        return typeName == name || std::strcmp(typeName, name) == 0;
    }
    template <typename T> T* As() const { return Is<T>() ? static_cast<T*>(field) : nullptr; }
};

} // namespace Varn::ECS
