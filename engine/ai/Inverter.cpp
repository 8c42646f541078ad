#include "ai/Inverter.h"

namespace Varn::AI
{

NodeStatus Inverter::Run()
{
    switch (child->Run())
    {
    case Success:
        return Failure;
    case Failure:
        return Success;
    default:
        return static_cast<NodeStatus>(0);
    }
}

} // namespace Varn::AI
