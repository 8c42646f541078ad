#pragma once
// Local position, angle, scale and flips of an entity, and the world values the transform
// system derives from them each step. Scripts, physics and behaviours write the local fields;
// only the TransformSystem writes the matrices, worldFlipX/Y, and worldScale of children.
#include "core/Matrix4.h"
#include "core/Vector4.h"
#include "ecs/IComponent.h"

namespace Varn::ECS
{

class Transform final : public IComponent
{
public:
    Transform() : IComponent("Transform") {}
    void BuildProperties() override;
    std::unique_ptr<IComponent> Clone() const override;

    // T * Rx * Ry * Rz * F * S from this transform's own fields.
    Matrix4 ComputeLocalMatrix() const;
    // The rotation of Euler angles in degrees: about x, then y, then z.
    static Matrix4 RotationMatrix(const Vector4& degrees);
    // Euler angles in degrees of a row-major world matrix.
    static Vector4 EulerFromMatrix(const Matrix4& m);

    Vector4 position{0, 0, 0, 0};   // "Position": local translation
    Vector4 angle{0, 0, 0, 0};      // "Angle": degrees about x, y, z
    Vector4 scale{1, 1, 1, 0};      // "Scale"
    Vector4 worldScale{1, 1, 0, 0}; // column lengths of worldMatrix; set elsewhere for roots
    Matrix4 localMatrix;            // zero until first computed
    Matrix4 worldMatrix;            // zero until first computed
    bool flipX = false;             // "Flip X": mirror about the local y axis
    bool flipY = false;             // "Flip Y": mirror about the local x axis
    bool worldFlipX = false;        // flipX xor every ancestor's flipX
    bool worldFlipY = false;
};

} // namespace Varn::ECS
