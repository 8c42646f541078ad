#pragma once
// The engine's four-float vector: positions, Euler angles in degrees, scales, offsets,
// velocities and forces. A plain value type; pass it by value or const reference.

namespace Varn
{

struct Vector4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr Vector4() = default;
    constexpr Vector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    constexpr Vector4 operator+(const Vector4& o) const { return {x + o.x, y + o.y, z + o.z, w + o.w}; }
    constexpr Vector4 operator-(const Vector4& o) const { return {x - o.x, y - o.y, z - o.z, w - o.w}; }
    constexpr Vector4 operator*(float s) const { return {x * s, y * s, z * s, w * s}; }
    constexpr Vector4& operator+=(const Vector4& o) { return *this = *this + o; }
    constexpr Vector4& operator-=(const Vector4& o) { return *this = *this - o; }
    constexpr bool operator==(const Vector4& o) const = default;
};

} // namespace Varn
