#include "ai/TreeBuilders.h"

#include "ecs/BehaviourComponent.h"

#include <algorithm>
#include <vector>

namespace Varn::AI
{

namespace
{
struct Entry
{
    int32_t type;
    std::string name;
    TreeBuilders::Builder builder;
};

std::vector<Entry>& Entries()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace

void TreeBuilders::Register(int32_t type, const std::string& name, Builder builder)
{
    std::vector<Entry>& entries = Entries();
    std::erase_if(entries, [&](const Entry& entry) { return entry.type == type || entry.name == name; });
    entries.push_back({type, name, builder});
}

TreeBuilders::Builder TreeBuilders::Find(int32_t type)
{
    const std::vector<Entry>& entries = Entries();
    auto found =
        std::find_if(entries.begin(), entries.end(), [type](const Entry& e) { return e.type == type; });
    return found != entries.end() ? found->builder : nullptr;
}

TreeBuilders::Builder TreeBuilders::Find(const std::string& name)
{
    const std::vector<Entry>& entries = Entries();
    auto found =
        std::find_if(entries.begin(), entries.end(), [&name](const Entry& e) { return e.name == name; });
    return found != entries.end() ? found->builder : nullptr;
}

void TreeBuilders::Build(ECS::IEntity& entity, ECS::BehaviourComponent& behaviour, const Services& services)
{
    if (Builder builder = Find(behaviour.type))
    {
        builder(entity, behaviour, services);
    }
}

} // namespace Varn::AI
