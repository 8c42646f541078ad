#pragma once
// Classifies parameter text once, when its statement is compiled: which form of reference
// each of its four readings (float, bool, string, entity) is, with names, literal values,
// indices and fields taken apart. The resolvers then follow that classification. Stateless.
#include "script/ScriptProgram.h"

#include <string>

namespace Varn::Script
{

class ReferenceParser
{
public:
    // Every reading of one parameter's text. With `numbering`, each reading that names a
    // variable takes the next cache index of the program being compiled.
    static ScriptParam Prepare(const std::string& text, CacheNumbering* numbering = nullptr);
    static EntityReference PrepareEntity(const std::string& text, CacheNumbering* numbering = nullptr);
    static ValueReference PrepareBool(const std::string& text, CacheNumbering* numbering = nullptr);
    static ValueReference PrepareFloat(const std::string& text, CacheNumbering* numbering = nullptr);
    static ValueReference PrepareString(const std::string& text, CacheNumbering* numbering = nullptr);
};

} // namespace Varn::Script
