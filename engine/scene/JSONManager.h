#pragma once
// Loads scene and prefab files into the current scene. (Only the file checks of a scene load
// are built so far: entity reading arrives with the component reader.)
#include <string>

namespace Varn::System
{

class JSONManager
{
public:
    JSONManager() = default;
    JSONManager(const JSONManager&) = delete;
    JSONManager& operator=(const JSONManager&) = delete;

    // Logs "Error: Load Failed. Scene is Invalid" when the file is missing or is not a scene;
    // the current scene then keeps its entities.
    void LoadScene(const std::string& path, bool loadingFrames);
};

} // namespace Varn::System
