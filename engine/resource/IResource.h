#pragma once
// Base of every shared resource. The ResourceManager owns all resources; components and
// systems hold plain pointers that stay valid until the manager releases the resource.
#include <string>

namespace Varn::Resource
{

class IResource
{
public:
    IResource() = default;
    virtual ~IResource() = default;
    IResource(const IResource&) = delete;
    IResource& operator=(const IResource&) = delete;

    std::string name; // the registry key
};

} // namespace Varn::Resource
