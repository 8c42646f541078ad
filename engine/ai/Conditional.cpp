#include "ai/Conditional.h"

namespace Varn::BehaviourTree
{

NodeStatus Conditional::Run()
{
    if (condition->Run() != Success)
    {
        return Success;
    }
    return action->Run();
}

} // namespace Varn::BehaviourTree
