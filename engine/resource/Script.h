#pragma once
// The text of one ORIN file cut into tokens: every line split at each single space, with one
// empty token after the last token of each line.
#include "resource/IResource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Varn::Resource
{

class Script final : public IResource
{
public:
    static std::vector<std::string> Tokenise(const std::string& text);
    // Tokenises `text` into `tokens`, noting each token's line in `lines`.
    void Read(const std::string& text);

    std::vector<std::string> tokens;
    std::vector<uint32_t> lines; // the file line, from 1, of each token: for messages
};

} // namespace Varn::Resource
