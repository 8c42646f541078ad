#pragma once
// The text of one ORIN file cut into tokens: every line split at each single space, with one
// empty token after the last token of each line.
#include "resource/IResource.h"

#include <string>
#include <vector>

namespace Varn::Resource
{

class Script final : public IResource
{
public:
    static std::vector<std::string> Tokenise(const std::string& text);

    std::vector<std::string> tokens;
};

} // namespace Varn::Resource
