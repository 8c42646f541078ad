#pragma once
// A closed range of values of one type (float, Vector4 or VarnColor).

namespace Varn
{

template <typename T> struct Range
{
    T min{};
    T max{};

    constexpr bool operator==(const Range& o) const = default;
};

} // namespace Varn
