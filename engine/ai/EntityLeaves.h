#pragma once
// Leaves that read or change one entity's components, create prefabs, play sounds or cast
// rays. Entities are not owned; a null entity or a missing component is reported as the leaf's
// table of results says, never by a crash.
#include "ai/INode.h"
#include "core/Services.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"
#include "ecs/EntityHandle.h"

#include <string>
#include <vector>

namespace Varn::ECS
{
class IEntity;
}

namespace Varn::AI
{

class FlipX final : public INode
{
public:
    FlipX(ECS::IEntity* entity_, bool value_) : entity(entity_), value(value_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null: then the leaf fails
    bool value;
};

// Puts a collider on the side the facing entity looks to: its box's x offset becomes `ahead`
// when `facing` is not flipped, -`ahead` when it is. A grunt's claw reaches forwards this way.
class ColliderAhead final : public INode
{
public:
    ColliderAhead(ECS::IEntity* collider_, ECS::IEntity* facing_, float ahead_)
        : collider(collider_), facing(facing_), ahead(ahead_)
    {
    }
    NodeStatus Run() override;
    ECS::EntityHandle collider; // may be null: then the leaf fails
    ECS::EntityHandle facing;   // may be null
    float ahead;
};

// Turns the entity about z, starting from where it stands in the world now.
class Rotate final : public INode
{
public:
    Rotate(ECS::IEntity* entity_, float amount_) : entity(entity_), amount(amount_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    float amount;             // degrees per run
};

// Pushes the body with `force` for one step.
class Move final : public INode
{
public:
    static constexpr float PUSH_SECONDS = 0.0167f; // one step, so the push must be renewed each tick
    Move(ECS::IEntity* entity_, const Vector4& force_) : entity(entity_), force(force_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    Vector4 force;
};

// Stops the walk but keeps the fall: only x and z of the velocity are cleared.
class StopMoving final : public INode
{
public:
    explicit StopMoving(ECS::IEntity* entity_) : entity(entity_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
};

class SetTrigger final : public INode
{
public:
    SetTrigger(ECS::IEntity* entity_, bool value_) : entity(entity_), value(value_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    bool value;
};

// Shows the texture whose path is in the string variable, from its first cell.
class SetTexture final : public INode
{
public:
    SetTexture(const Services& services_, const std::string* path_, ECS::IEntity* entity_)
        : services(services_), path(path_), entity(entity_)
    {
    }
    NodeStatus Run() override;
    const Services& services;
    const std::string* path;  // a blackboard entry
    ECS::EntityHandle entity; // may be null
};

class SetAnimation final : public INode
{
public:
    SetAnimation(std::string name_, ECS::IEntity* entity_) : name(std::move(name_)), entity(entity_) {}
    NodeStatus Run() override;
    std::string name;
    ECS::EntityHandle entity; // may be null
};

// Succeeds while the playing animation shows the given sheet cell.
class CheckFrameCount final : public INode
{
public:
    CheckFrameCount(ECS::IEntity* entity_, int32_t frame_) : entity(entity_), frame(frame_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    int32_t frame;
};

class SetTint final : public INode
{
public:
    SetTint(ECS::IEntity* entity_, const VarnColor& colour_) : entity(entity_), colour(colour_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    VarnColor colour;
};

// Fades the sprite by 1 % per run.
class DecreaseOpacity final : public INode
{
public:
    static constexpr float FACTOR = 0.99f;
    explicit DecreaseOpacity(ECS::IEntity* entity_) : entity(entity_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
};

class CheckOpacity final : public INode
{
public:
    CheckOpacity(float threshold_, ECS::IEntity* entity_) : threshold(threshold_), entity(entity_) {}
    NodeStatus Run() override;
    float threshold;
    ECS::EntityHandle entity; // may be null
};

// Replaces the entity's tags with the named ones; names the registry does not hold are dropped.
class SetTag final : public INode
{
public:
    SetTag(const Services& services_, ECS::IEntity* entity_, std::vector<std::string> names_)
        : services(services_), entity(entity_), names(std::move(names_))
    {
    }
    NodeStatus Run() override;
    const Services& services;
    ECS::EntityHandle entity; // may be null
    std::vector<std::string> names;
};

// Acts once, when built: the body stops colliding with entities of that tag for good.
class AddIgnoreTag final : public INode
{
public:
    AddIgnoreTag(const Services& services, ECS::IEntity* entity, const std::string& tagName);
    NodeStatus Run() override { return Success; }
};

class PlaySound final : public INode
{
public:
    PlaySound(const Services& services_, std::string path_, bool secondaryGroup_, bool loop_, bool fadeIn_)
        : services(services_), path(std::move(path_)), secondaryGroup(secondaryGroup_), loop(loop_),
          fadeIn(fadeIn_)
    {
    }
    NodeStatus Run() override;
    const Services& services;
    std::string path;
    bool secondaryGroup;
    bool loop;
    bool fadeIn;
};

// Instantiates a prefab at the anchor's position, or at `position` and `angle` without one.
class CreatePrefab final : public INode
{
public:
    CreatePrefab(const Services& services_, const Vector4& position_, const Vector4& angle_,
                 std::string path_, uint32_t layer_, ECS::IEntity* anchor_, bool setLayer_)
        : services(services_), position(position_), angle(angle_), path(std::move(path_)), layer(layer_),
          anchor(anchor_), setLayer(setLayer_)
    {
    }
    NodeStatus Run() override;
    const Services& services;
    Vector4 position;
    Vector4 angle; // degrees
    std::string path;
    uint32_t layer;
    ECS::EntityHandle anchor; // may be null
    bool setLayer;
};

// Succeeds while the entity is active.
class CheckPrefab final : public INode
{
public:
    explicit CheckPrefab(ECS::IEntity* entity_) : entity(entity_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
};

// Switches the entity on or off.
class TogglePrefab final : public INode
{
public:
    TogglePrefab(ECS::IEntity* entity_, bool value_) : entity(entity_), value(value_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    bool value;
};

// Asks the entity's scene's AISystem to remove it after the current tick.
class AddToKillList final : public INode
{
public:
    explicit AddToKillList(ECS::IEntity* entity_) : entity(entity_) {}
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
};

// Casts `ray` (direction times reach) from the entity, counting only entities with the tag.
class RayCast final : public INode
{
public:
    RayCast(const Services& services_, ECS::IEntity* entity_, const Vector4& ray_, std::string tag_)
        : services(services_), entity(entity_), ray(ray_), tag(std::move(tag_))
    {
    }
    const Services& services;
    NodeStatus Run() override;
    ECS::EntityHandle entity; // may be null
    Vector4 ray;
    std::string tag;
    Vector4 hitPoint{0, 0, 0, 0};      // of the last cast
    ECS::IEntity* hitEntity = nullptr; // of the last hit; not owned
};

} // namespace Varn::AI
