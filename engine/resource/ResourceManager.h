#pragma once
// Owns every loaded resource. (The six registries and their get-or-create operations are not
// built yet; the Engine already owns this object so that its place in start-up and teardown
// is fixed.)

namespace Varn::System
{

class ResourceManager
{
public:
    ResourceManager() = default;
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;
};

} // namespace Varn::System
