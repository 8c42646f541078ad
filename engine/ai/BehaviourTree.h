#pragma once
// One enemy's tree: the root and the three blackboards its leaves read and write. Leaves keep
// the address of their blackboard entry, taken when the tree is built; unordered_map never moves
// an element, so those addresses stay valid for the life of the tree.
#include "ai/INode.h"

#include <string>
#include <unordered_map>

namespace Varn::AI
{

class BehaviourTree final : public INode
{
public:
    // Failure for a tree without a root.
    NodeStatus Run() override { return child ? child->Run() : Failure; }

    // The entry of `name`, created with `initial` when absent; an existing value is kept.
    float* Float(const std::string& name, float initial = 0.0f)
    {
        return &floatVariables.try_emplace(name, initial).first->second;
    }
    bool* Bool(const std::string& name, bool initial = false)
    {
        return &boolVariables.try_emplace(name, initial).first->second;
    }
    std::string* String(const std::string& name, const std::string& initial = {})
    {
        return &stringVariables.try_emplace(name, initial).first->second;
    }

    std::unordered_map<std::string, float> floatVariables;
    std::unordered_map<std::string, bool> boolVariables;
    std::unordered_map<std::string, std::string> stringVariables;
};

} // namespace Varn::AI
