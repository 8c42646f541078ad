#include "ai/Composite.h"

namespace Varn::AI
{

NodeStatus Selector::Run()
{
    for (const auto& node : children)
    {
        const NodeStatus status = node->Run();
        if (status != Failure)
        {
            return status;
        }
    }
    return Failure;
}

NodeStatus Sequence::Run()
{
    for (const auto& node : children)
    {
        if (node->Run() == Failure)
        {
            return Failure;
        }
    }
    return Success;
}

} // namespace Varn::AI
