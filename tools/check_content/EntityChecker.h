#pragma once
// Checks one entity object of a scene or prefab line against what the loader reads, for the
// mistakes the loader passes over without a word: members and block keys it does not know
// (taken from the components' own property lists), values without the form their key needs,
// unknown shader and animation names. Also collects the files the entity names, for the
// caller to look for. Needs an Engine with its default resources loaded: it builds one
// component of each block's class, which it owns, to read their key lists.
#include "ecs/IComponent.h"

#include <rapidjson/document.h>

#include <memory>
#include <string>
#include <vector>

namespace Varn::Tools
{

class EntityChecker
{
public:
    // A file an entity names, and what it is for ("texture (\"Hero\", Sprite Renderer ...)").
    struct NamedFile
    {
        std::string name; // as written, back slashes allowed
        std::string what;
    };

    EntityChecker();

    // Appends the entity's problems, one line each, and the files it names.
    void Check(const rapidjson::Value& entity, std::vector<std::string>& problems,
               std::vector<NamedFile>& files) const;

    // Whether a literal names a file: "Resources/" first and an extension on its last part, or
    // the extension of a kind of file content uses. Names without one are built at run time.
    static bool LooksLikeContentFile(const std::string& text);

private:
    void CheckForms(const rapidjson::Value& entity, const std::string& name,
                    std::vector<std::string>& problems) const;
    static void CheckAnimationName(const rapidjson::Value& entity, const std::string& name,
                                   std::vector<std::string>& problems);

    std::vector<std::unique_ptr<ECS::IComponent>> blocks; // one of each block's class
};

} // namespace Varn::Tools
