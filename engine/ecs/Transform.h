#pragma once
// Local position, angle, scale and flips of an entity, and the world values the transform
// system derives from them each step. Scripts, physics and behaviours write the local fields;
// only the TransformSystem writes the matrices, worldFlipX/Y, and worldScale of children.
#include "core/Matrix4.h"
#include "core/Vector4.h"
#include "ecs/IComponent.h"

namespace Varn::Component
{

class Transform final : public ECS::IComponent
{
public:
    Transform() : IComponent("Transform") {}
    void BuildProperties() override;
    std::unique_ptr<ECS::IComponent> Clone() const override;

    // T * Rx * Ry * Rz * F * S from this transform's own fields.
    Math::Matrix4 ComputeLocalMatrix() const;
    // The rotation of Euler angles in degrees: about x, then y, then z.
    static Math::Matrix4 RotationMatrix(const Math::Vector4& degrees);
    // Euler angles in degrees of a row-major world matrix.
    static Math::Vector4 EulerFromMatrix(const Math::Matrix4& m);

    Math::Vector4 position{0, 0, 0, 0};   // "Position": local translation
    Math::Vector4 angle{0, 0, 0, 0};      // "Angle": degrees about x, y, z
    Math::Vector4 scale{1, 1, 1, 0};      // "Scale"
    Math::Vector4 worldScale{1, 1, 0, 0}; // column lengths of worldMatrix; set elsewhere for roots
    Math::Matrix4 localMatrix;            // zero until first computed
    Math::Matrix4 worldMatrix;            // zero until first computed
    bool flipX = false;                   // "Flip X": mirror about the local y axis
    bool flipY = false;                   // "Flip Y": mirror about the local x axis
    bool worldFlipX = false;              // flipX xor every ancestor's flipX
    bool worldFlipY = false;
};

} // namespace Varn::Component
