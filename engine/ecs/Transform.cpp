#include "ecs/Transform.h"

#include <cmath>

namespace Varn::ECS
{

namespace
{
constexpr float DEG_TO_RAD = 0.017453292f;
constexpr float RAD_TO_DEG = 57.29578f;
} // namespace

void Transform::BuildProperties()
{
    properties = {
        Property::Of("Position", &position), Property::Of("Angle", &angle),  Property::Of("Scale", &scale),
        Property::Of("Flip X", &flipX),      Property::Of("Flip Y", &flipY),
    };
}

std::unique_ptr<IComponent> Transform::Clone() const
{
    auto copy = std::make_unique<Transform>();
    copy->position = position;
    copy->angle = angle;
    copy->scale = scale;
    copy->worldScale = worldScale;
    copy->localMatrix = localMatrix;
    copy->worldMatrix = worldMatrix;
    copy->flipX = flipX;
    copy->flipY = flipY;
    copy->worldFlipX = worldFlipX;
    copy->worldFlipY = worldFlipY;
    return FinishClone(std::move(copy));
}

Matrix4 Transform::ComputeLocalMatrix() const
{
    // Flips and scale are both diagonal, so they fold into one matrix.
    const float sx = (flipX ? -1.0f : 1.0f) * scale.x;
    const float sy = (flipY ? -1.0f : 1.0f) * scale.y;
    if (angle.x != 0.0f || angle.y != 0.0f)
    {
        Matrix4 t = Matrix4::Identity();
        t.m[0][3] = position.x;
        t.m[1][3] = position.y;
        t.m[2][3] = position.z;
        Matrix4 fs = Matrix4::Identity();
        fs.m[0][0] = sx;
        fs.m[1][1] = sy;
        fs.m[2][2] = scale.z;
        return t * RotationMatrix(angle) * fs;
    }
    // A side view turns about z alone, every step for every entity, so the product of
    // translation, rotation and scale is written out. For finite numbers it is the same bits as
    // the general multiply: every other term there is a zero, and a sum that starts from 0.0f
    // turns -0 into +0, as the leading 0.0f here does.
    const float radians = angle.z * DEG_TO_RAD;
    const float c = std::cos(radians), s = std::sin(radians);
    Matrix4 r;
    r.m[0][0] = 0.0f + c * sx;
    r.m[0][1] = 0.0f + -s * sy;
    r.m[1][0] = 0.0f + s * sx;
    r.m[1][1] = 0.0f + c * sy;
    r.m[2][2] = 0.0f + scale.z;
    r.m[0][3] = 0.0f + position.x;
    r.m[1][3] = 0.0f + position.y;
    r.m[2][3] = 0.0f + position.z;
    r.m[3][3] = 1.0f;
    return r;
}

Matrix4 Transform::RotationMatrix(const Vector4& degrees)
{
    const float ax = degrees.x * DEG_TO_RAD;
    const float ay = degrees.y * DEG_TO_RAD;
    const float az = degrees.z * DEG_TO_RAD;
    Matrix4 rx = Matrix4::Identity();
    rx.m[1][1] = std::cos(ax);
    rx.m[1][2] = -std::sin(ax);
    rx.m[2][1] = std::sin(ax);
    rx.m[2][2] = std::cos(ax);
    Matrix4 ry = Matrix4::Identity();
    ry.m[0][0] = std::cos(ay);
    ry.m[0][2] = std::sin(ay);
    ry.m[2][0] = -std::sin(ay);
    ry.m[2][2] = std::cos(ay);
    Matrix4 rz = Matrix4::Identity();
    rz.m[0][0] = std::cos(az);
    rz.m[0][1] = -std::sin(az);
    rz.m[1][0] = std::sin(az);
    rz.m[1][1] = std::cos(az);
    return rx * ry * rz;
}

Vector4 Transform::EulerFromMatrix(const Matrix4& m)
{
    const float s = std::sqrt(m.m[1][0] * m.m[1][0] + m.m[0][0] * m.m[0][0] + m.m[2][0] * m.m[2][0]);
    const float y = std::atan2(-m.m[2][0], s);
    float x = 0.0f;
    float z = 0.0f;
    if (s < 1e-6f)
    {
        x = std::atan2(-m.m[1][2], m.m[1][1]);
    }
    else
    {
        x = std::atan2(m.m[2][1], m.m[2][2]);
        z = std::atan2(m.m[1][0], m.m[0][0]);
    }
    return {x * RAD_TO_DEG, y * RAD_TO_DEG, z * RAD_TO_DEG, 0.0f};
}

} // namespace Varn::ECS
