#pragma once
// One entry of a component's reflection list: the serialised key, the run-time type name of
// the field and the field's address inside its component. The generic block reader walks
// these lists, so a component's list must be rebuilt whenever the component is copied.
#include <string>
#include <typeinfo>

namespace Varn::ECS
{

struct Property
{
    std::string key;       // serialised key, e.g. "Gravity Scale"
    std::string typeName;  // typeid(field type).name()
    void* field = nullptr; // points into the owning component
    bool editable = true;

    template <typename T> static Property Of(std::string key, T* field)
    {
        return Property{std::move(key), typeid(T).name(), field, true};
    }

    template <typename T> bool Is() const { return typeName == typeid(T).name(); }
    template <typename T> T* As() const { return Is<T>() ? static_cast<T*>(field) : nullptr; }
};

} // namespace Varn::ECS
