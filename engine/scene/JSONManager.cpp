#include "scene/JSONManager.h"

#include "core/Engine.h"
#include "core/FilePath.h"
#include "core/InputManager.h"

#include <rapidjson/document.h>

#include <sstream>

namespace Varn::System
{

void JSONManager::LoadScene(const std::string& path, bool /*loadingFrames*/)
{
    Engine& engine = Engine::Instance();
    engine.input->ClearKeyboard();

    // The header lines come first; the entities are the first line that is not a header.
    std::string text;
    Helper::ReadTextFile(path, text);
    std::istringstream lines(text);
    std::string line, sceneLine;
    while (std::getline(lines, line))
    {
        if (line.rfind("Tags:", 0) != 0 && line.rfind("Audio:", 0) != 0)
        {
            sceneLine = line;
            break;
        }
    }
    rapidjson::Document document;
    document.Parse(sceneLine.c_str());
    if (document.HasParseError() || !document.IsArray())
    {
        engine.logger.Log("Error: Load Failed. Scene is Invalid");
        return;
    }
}

} // namespace Varn::System
