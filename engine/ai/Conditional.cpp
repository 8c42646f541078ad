#include "ai/Conditional.h"

namespace Varn::AI
{

NodeStatus Conditional::Run()
{
    if (condition->Run() != Success)
    {
        return Success;
    }
    return action->Run();
}

} // namespace Varn::AI
