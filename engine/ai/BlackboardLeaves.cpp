#include "ai/BlackboardLeaves.h"

namespace Varn::AI
{

namespace
{
NodeStatus Result(bool passed)
{
    return passed ? Success : Failure;
}
} // namespace

NodeStatus CheckInt::Run()
{
    return Result(*variable == value);
}

NodeStatus CheckFloat::Run()
{
    return Result(*variable == value);
}

NodeStatus CheckBool::Run()
{
    return Result(*variable == value);
}

NodeStatus IsBoolTrue::Run()
{
    return Result(*variable);
}

NodeStatus CheckLife::Run()
{
    return Result(*variable > 0.0f);
}

NodeStatus SetFloat::Run()
{
    *variable = value;
    return Success;
}

NodeStatus SetBool::Run()
{
    *variable = value;
    return Success;
}

NodeStatus ToggleBool::Run()
{
    *variable = !*variable;
    return Success;
}

NodeStatus Counter::Run()
{
    *variable += 1.0f;
    return Success;
}

NodeStatus DamageEntity::Run()
{
    if (target == nullptr)
    {
        return Failure;
    }
    if (*life > 0.0f)
    {
        *life -= amount;
    }
    return Success;
}

} // namespace Varn::AI
