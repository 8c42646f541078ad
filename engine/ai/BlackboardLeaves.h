#pragma once
// Leaves that test or change one blackboard variable. Each keeps the variable's address,
// taken from its tree when the tree was built; none of them may be given null.
#include "ai/INode.h"
#include "ecs/EntityHandle.h"

#include <string>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::AI
{

class CheckInt final : public INode
{
public:
    CheckInt(const int* variable_, int value_) : variable(variable_), value(value_) {}
    NodeStatus Run() override;
    const int* variable;
    int value;
};

// Exact comparison: thresholds are set, never computed. NaN never matches.
class CheckFloat final : public INode
{
public:
    CheckFloat(const float* variable_, float value_) : variable(variable_), value(value_) {}
    NodeStatus Run() override;
    const float* variable;
    float value;
};

class CheckBool final : public INode
{
public:
    CheckBool(const bool* variable_, bool value_) : variable(variable_), value(value_) {}
    NodeStatus Run() override;
    const bool* variable;
    bool value;
};

// Succeeds while the flag is set. The trees read better with the flag's own name.
class IsBoolTrue final : public INode
{
public:
    explicit IsBoolTrue(const bool* variable_) : variable(variable_) {}
    NodeStatus Run() override;
    const bool* variable;
};
using IsPatrolLeft = IsBoolTrue;
using IsPatrolling = IsBoolTrue;

// Succeeds while life is above zero.
class CheckLife final : public INode
{
public:
    explicit CheckLife(const float* variable_) : variable(variable_) {}
    NodeStatus Run() override;
    const float* variable;
};

class SetFloat final : public INode
{
public:
    SetFloat(float* variable_, float value_) : variable(variable_), value(value_) {}
    NodeStatus Run() override;
    float* variable;
    float value;
};

class SetBool final : public INode
{
public:
    SetBool(bool* variable_, bool value_) : variable(variable_), value(value_) {}
    NodeStatus Run() override;
    bool* variable;
    bool value;
};
using TogglePatrol = SetBool;

class ToggleBool final : public INode
{
public:
    explicit ToggleBool(bool* variable_) : variable(variable_) {}
    NodeStatus Run() override;
    bool* variable;
};

// Adds one per run.
class Counter final : public INode
{
public:
    explicit Counter(float* variable_) : variable(variable_) {}
    NodeStatus Run() override;
    float* variable;
};

// Takes `amount` off the target's life while it is still positive, so a dead target's life is
// not driven further down by later hits.
class DamageEntity final : public INode
{
public:
    DamageEntity(ECS::IEntity* target_, float amount_, float* life_)
        : target(target_), amount(amount_), life(life_)
    {
    }
    NodeStatus Run() override;
    ECS::EntityHandle target; // may be null
    float amount;
    float* life;
};

// Always succeeds: ends a branch that must count as handled.
class UpdateReturn final : public INode
{
public:
    NodeStatus Run() override { return Success; }
};

} // namespace Varn::AI
