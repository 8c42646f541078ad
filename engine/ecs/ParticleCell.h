#pragma once
// One particle of an emitter's pool. The ParticleSystem spawns into dead cells and simulates
// live ones in world space; the graphics system draws them from `model` and `color`. A fresh
// cell is dead, white, at the origin and of unit size.
#include "core/Matrix4.h"
#include "core/VarnColor.h"
#include "core/Vector4.h"

namespace Varn::ECS
{

struct ParticleCell
{
    Matrix4 model;                   // row-major; rebuilt every step while alive
    Vector4 scale{1, 1, 0, 0};       // current size
    Vector4 scaleRate{0, 0, 0, 0};   // change of scale per second
    Vector4 position{0, 0, 0, 0};    // world units
    Vector4 direction{0, 0, 0, 0};   // unit length at spawn, bent by gravity
    VarnColor color{1, 1, 1, 1};     // current colour
    VarnColor colorRate{0, 0, 0, 0}; // change of colour per second
    float speed = 0.0f;              // world units per second
    float speedRate = 0.0f;          // change of speed per second
    float life = 0.0f;               // seconds left
    float gravityScale = 0.0f;       // copied from the emitter at spawn
    bool hasGravity = false;         // copied from the emitter at spawn
    bool alive = false;              // the cell holds a live particle
};

} // namespace Varn::ECS
