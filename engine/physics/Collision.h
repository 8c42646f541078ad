#pragma once
// The shape tests of the collision pass: circles and turned boxes, at rest or moving over one
// step. Pure functions of their arguments; they read and write no engine state. Everything
// works in the x-y plane: z orders sprites for drawing and plays no part in contact.
#include "core/Vector4.h"

#include <array>

namespace Varn::Physics
{

struct CircleShape
{
    Vector4 centre{0, 0, 0, 0}; // world units
    float radius = 0.0f;        // world units
};

struct BoxShape
{
    Vector4 centre{0, 0, 0, 0};
    float halfX = 0.0f, halfY = 0.0f; // half extents before turning, world units
    float angle = 0.0f;               // z rotation, degrees
    std::array<Vector4, 4> corners;   // counter-clockwise for positive half extents
};

// What a solid test found. `depth` is the penetration, positive when the shapes overlap now and
// 0 for a hit that lies ahead in time.
struct CollisionHit
{
    bool hit = false;
    float timeOfImpact = 0.0f;  // seconds into the step, in [0, dt]
    Vector4 normal{0, 0, 0, 0}; // not necessarily unit length; the pass orients and normalises it
    Vector4 point{0, 0, 0, 0};  // world contact point
    float depth = 0.0f;
};

// Closest points of two convex polygons, as the GJK distance search leaves them.
struct PolygonDistance
{
    float distance = 0.0f; // 0 when they overlap
    Vector4 pointA{0, 0, 0, 0};
    Vector4 pointB{0, 0, 0, 0};
};

class Collision
{
public:
    static constexpr int GJK_ITERATIONS = 20;
    // Turned boxes closer than this (world units) count as touching. A tenth of a pixel at
    // zoom 1: far below what can be seen, far above the search's rounding.
    static constexpr float GJK_TOUCH = 0.1f;
    // A box within this many degrees of a multiple of 90 is treated as axis-aligned.
    static constexpr float AXIS_ALIGNED_DEGREES = 0.5f;

    // A box of half extents (hx, hy) around `centre`, turned by `angleDegrees`.
    static BoxShape MakeBox(const Vector4& centre, float hx, float hy, float angleDegrees);
    static bool IsAxisAligned(float angleDegrees);

    // Trigger test of two circles; `velocity` is A's relative to B over the step.
    static bool CircleOverlap(const CircleShape& a, const CircleShape& b, const Vector4& velocity, float dt);
    // Solid test of two circles: overlap now, else the swept hit within dt.
    static CollisionHit CircleCircle(const CircleShape& a, const CircleShape& b, const Vector4& velocity,
                                     float dt);
    // Solid and trigger test of a box and a circle; `velocity` is the circle's relative to the
    // box. The normal points from the box to the circle, or the other way when the circle's
    // entity has a body.
    static CollisionHit BoxCircle(const BoxShape& box, const CircleShape& circle, const Vector4& velocity,
                                  float dt, bool circleHasBody);
    // Solid test of two boxes on their bounding boxes, confirmed exactly when one is turned;
    // `velocity` is A's relative to B.
    static CollisionHit BoxBox(const BoxShape& a, const BoxShape& b, const Vector4& velocity, float dt);
    // Cheap trigger overlap of two boxes without a sweep.
    static bool BoxBoxQuick(const BoxShape& a, const BoxShape& b);
    // GJK over the corners of two convex polygons: at most GJK_ITERATIONS, stopping early when
    // a support pair repeats.
    static PolygonDistance Distance(const std::array<Vector4, 4>& a, const std::array<Vector4, 4>& b);
};

} // namespace Varn::Physics
