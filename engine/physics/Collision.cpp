#include "physics/Collision.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace Varn::Physics
{

namespace
{

constexpr float INF = std::numeric_limits<float>::infinity();

float Dot(const Vector4& a, const Vector4& b)
{
    return a.x * b.x + a.y * b.y;
}

float Length(const Vector4& a)
{
    return std::sqrt(Dot(a, a));
}

Vector4 Flat(const Vector4& a)
{
    return {a.x, a.y, 0.0f, 0.0f};
}

// `a` scaled to unit length; `fallback` for a zero vector, which has no direction.
Vector4 Unit(const Vector4& a, const Vector4& fallback)
{
    const float length = Length(a);
    return length > 0.0f ? Vector4{a.x / length, a.y / length, 0.0f, 0.0f} : fallback;
}

void Offset(const std::array<Vector4, 4>& corners, const Vector4& by, std::array<Vector4, 4>& out)
{
    for (std::size_t i = 0; i < 4; ++i)
    {
        out[i] = corners[i] + Flat(by);
    }
}

// The separating-axis view of two boxes over their four edge normals: the least overlap (the
// penetration when every axis overlaps) and the widest gap.
struct AxisSweep
{
    float leastOverlap = INF;
    Vector4 leastOverlapAxis{0, 1, 0, 0};
    float widestGap = -INF;
    Vector4 widestGapAxis{0, 1, 0, 0};
};

AxisSweep SweepAxes(const std::array<Vector4, 4>& a, const std::array<Vector4, 4>& b)
{
    AxisSweep sweep;
    const std::array<Vector4, 4> edges{a[1] - a[0], a[2] - a[1], b[1] - b[0], b[2] - b[1]};
    for (const Vector4& edge : edges)
    {
        const Vector4 axis = Unit({-edge.y, edge.x, 0, 0}, {0, 0, 0, 0});
        if (axis.x == 0.0f && axis.y == 0.0f)
        {
            continue; // a box of zero extent has no edge here
        }
        float minA = INF, maxA = -INF, minB = INF, maxB = -INF;
        for (std::size_t i = 0; i < 4; ++i)
        {
            const float pa = Dot(a[i], axis), pb = Dot(b[i], axis);
            minA = std::min(minA, pa), maxA = std::max(maxA, pa);
            minB = std::min(minB, pb), maxB = std::max(maxB, pb);
        }
        const float overlap = std::min(maxA, maxB) - std::max(minA, minB);
        // Orient from B towards A, the direction the contact normal takes.
        const Vector4 towardsA = (minA + maxA) >= (minB + maxB) ? axis : axis * -1.0f;
        if (overlap < sweep.leastOverlap)
        {
            sweep.leastOverlap = overlap;
            sweep.leastOverlapAxis = towardsA;
        }
        if (-overlap > sweep.widestGap)
        {
            sweep.widestGap = -overlap;
            sweep.widestGapAxis = towardsA;
        }
    }
    return sweep;
}

// Closest point to `point` on the segment p-q, and its parameter along it.
Vector4 ClosestOnSegment(const Vector4& p, const Vector4& q, const Vector4& point)
{
    const Vector4 e = Flat(q - p);
    const float lengthSquared = Dot(e, e);
    const float s =
        lengthSquared > 0.0f ? std::clamp(Dot(Flat(point - p), e) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return p + e * s;
}

// The point of the box outline nearest to `point`.
Vector4 ClosestOnOutline(const BoxShape& box, const Vector4& point)
{
    Vector4 best = box.corners[0];
    float bestDistance = INF;
    for (std::size_t i = 0; i < 4; ++i)
    {
        const Vector4 candidate = ClosestOnSegment(box.corners[i], box.corners[(i + 1) % 4], point);
        const Vector4 gap = Flat(candidate - point);
        if (Dot(gap, gap) < bestDistance)
        {
            bestDistance = Dot(gap, gap);
            best = candidate;
        }
    }
    return best;
}

bool InsideBox(const BoxShape& box, const Vector4& point)
{
    const float radians = box.angle * 3.1415927f / 180.0f;
    const Vector4 axisX{std::cos(radians), std::sin(radians), 0, 0};
    const Vector4 axisY{-std::sin(radians), std::cos(radians), 0, 0};
    const Vector4 d = Flat(point - box.centre);
    return std::fabs(Dot(d, axisX)) <= std::fabs(box.halfX) &&
           std::fabs(Dot(d, axisY)) <= std::fabs(box.halfY);
}

// The circle against one box edge from corner p (the edge's corner nearer the circle) to q,
// with n the edge's unit normal on the circle's side.
CollisionHit CircleAgainstEdge(const Vector4& p, const Vector4& q, const Vector4& n,
                               const CircleShape& circle, const Vector4& velocity, float dt)
{
    CollisionHit result;
    const Vector4 c = Flat(circle.centre);
    const float r = circle.radius;
    const Vector4 e = Flat(q - p);
    const float edgeSquared = Dot(e, e);
    const float d = Dot(c - Flat(p), n);
    const float s = edgeSquared > 0.0f ? Dot(c - Flat(p), e) / edgeSquared : 0.0f;
    const Vector4 toCentre = c - Flat(p);

    if (r >= d && s >= 0.0f && s <= 1.0f)
    {
        result.hit = true;
        result.depth = r - d;
        result.normal = n;
        return result;
    }
    if (r >= d && Length(toCentre) <= r)
    {
        result.hit = true;
        result.normal = Unit(toCentre, n);
        result.depth = r - Length(toCentre);
        return result;
    }

    const Vector4 v = Flat(velocity);
    const float towards = Dot(v, n);
    const float speed = Length(v);
    if (towards >= 0.0f || speed == 0.0f)
    {
        return result;
    }
    float best = INF;
    Vector4 normal = n;
    // The moving circle first meets the edge's line when its distance to it has shrunk to r;
    // that counts only if the touch lands between the corners.
    if (d > r)
    {
        const float tLine = (d - r) / -towards;
        const float sAt = edgeSquared > 0.0f ? Dot(c + v * tLine - Flat(p), e) / edgeSquared : -1.0f;
        if (sAt >= 0.0f && sAt <= 1.0f)
        {
            best = tLine;
        }
    }
    // Or it meets a corner: a ray from the centre along v against a circle of radius r there.
    for (const Vector4& corner : {Flat(p), Flat(q)})
    {
        const Vector4 rel = corner - c;
        const float along = Dot(rel, v) / speed;
        const float hSquared = Dot(rel, rel) - along * along;
        if (along < 0.0f || hSquared > r * r)
        {
            continue;
        }
        const float t = (along - std::sqrt(std::max(0.0f, r * r - hSquared))) / speed;
        if (t >= 0.0f && t < best)
        {
            best = t;
            normal = Unit(c + v * t - corner, n);
        }
    }
    if (best < dt)
    {
        result.hit = true;
        result.timeOfImpact = best;
        result.normal = normal;
        result.depth = 0.0f;
    }
    return result;
}

} // namespace

BoxShape Collision::MakeBox(const Vector4& centre, float hx, float hy, float angleDegrees)
{
    BoxShape box;
    box.centre = centre;
    box.halfX = hx;
    box.halfY = hy;
    box.angle = angleDegrees;
    const float radians = angleDegrees * 3.1415927f / 180.0f;
    const float c = std::cos(radians), s = std::sin(radians);
    const Vector4 ax{c * hx, s * hx, 0, 0};
    const Vector4 ay{-s * hy, c * hy, 0, 0};
    box.corners = {centre - ax - ay, centre + ax - ay, centre + ax + ay, centre - ax + ay};
    return box;
}

bool Collision::IsAxisAligned(float angleDegrees)
{
    const float rest = std::fabs(std::fmod(angleDegrees, 90.0f));
    return std::min(rest, 90.0f - rest) <= AXIS_ALIGNED_DEGREES;
}

bool Collision::CircleOverlap(const CircleShape& a, const CircleShape& b, const Vector4& velocity, float dt)
{
    const Vector4 d = Flat(b.centre - a.centre);
    const float dd = Dot(d, d);
    const float reach = a.radius + b.radius;
    if (dd == 0.0f)
    {
        return true; // same centre
    }
    // The part of the step's motion along the line of centres counts as closing the gap.
    const float along = Dot(Flat(velocity) * dt, d);
    const float sweptSquared = along * along / dd;
    return reach * reach >= dd - sweptSquared;
}

CollisionHit Collision::CircleCircle(const CircleShape& a, const CircleShape& b, const Vector4& velocity,
                                     float dt)
{
    CollisionHit result;
    const Vector4 d = Flat(b.centre - a.centre);
    const float dist = Length(d);
    const float reach = a.radius + b.radius;
    if (reach > dist)
    {
        result.hit = true;
        result.depth = reach - dist;
        // Coincident centres have no line between them; push along y, the usual resting axis.
        result.normal = dist > 0.0f ? d : Vector4{0, 1, 0, 0};
        result.normal.w = 1.0f;
        return result;
    }
    const Vector4 v = Flat(velocity);
    const float speed = Length(v);
    if (speed == 0.0f)
    {
        return result;
    }
    const float t = Dot(d, v) / speed;
    if (t < 0.0f)
    {
        return result; // moving apart
    }
    const float hSquared = dist * dist - t * t;
    if (hSquared > reach * reach)
    {
        return result; // passes by
    }
    const float toi = (t - std::sqrt(std::max(0.0f, reach * reach - hSquared))) / speed;
    if (toi > dt)
    {
        return result;
    }
    result.hit = true;
    result.timeOfImpact = toi;
    result.normal = Unit(d - v * toi, Unit(d, {0, 1, 0, 0}));
    result.normal.w = 1.0f;
    result.depth = 0.0f;
    return result;
}

CollisionHit Collision::BoxCircle(const BoxShape& box, const CircleShape& circle, const Vector4& velocity,
                                  float dt, bool circleHasBody)
{
    CollisionHit result;
    const Vector4 centre = Flat(circle.centre);
    const float halfDiagonal = std::sqrt(box.halfX * box.halfX + box.halfY * box.halfY);
    if (Length(centre - Flat(box.centre)) > halfDiagonal + circle.radius + Length(Flat(velocity)))
    {
        return result;
    }

    // The edge facing the centre is the one whose line the centre lies farthest out from (inside
    // the box, least deep behind); the other candidate is the better of its two neighbours.
    // Nearest corners would pick a wrong edge on a long box: a circle against the face of a
    // tall wall is nearer the wall's two bottom corners than the face's top corner.
    const Vector4 boxCentre = Flat(box.centre);
    std::array<Vector4, 4> outward{};
    std::array<float, 4> out{};
    for (std::size_t i = 0; i < 4; ++i)
    {
        const Vector4 from = Flat(box.corners[i]), to = Flat(box.corners[(i + 1) % 4]);
        const Vector4 edge = to - from;
        outward[i] = Unit({-edge.y, edge.x, 0, 0}, {0, 1, 0, 0});
        if (Dot((from + to) * 0.5f - boxCentre, outward[i]) < 0.0f)
        {
            outward[i] = outward[i] * -1.0f;
        }
        out[i] = Dot(centre - from, outward[i]);
    }
    const std::size_t facing =
        static_cast<std::size_t>(std::max_element(out.begin(), out.end()) - out.begin());
    const std::size_t after = (facing + 1) % 4, before = (facing + 3) % 4;
    const std::size_t neighbour = out[after] > out[before] ? after : before;

    Vector4 normal{0, 0, 0, 0};
    for (const std::size_t edgeIndex : {facing, neighbour})
    {
        // p is the edge's corner nearer the centre.
        std::size_t p = edgeIndex, q = (edgeIndex + 1) % 4;
        const Vector4 toP = Flat(box.corners[p]) - centre, toQ = Flat(box.corners[q]) - centre;
        if (Dot(toQ, toQ) < Dot(toP, toP))
        {
            std::swap(p, q);
        }
        Vector4 n = outward[edgeIndex];
        if (Dot(centre - boxCentre, n) < 0.0f)
        {
            n = n * -1.0f;
        }
        result = CircleAgainstEdge(box.corners[p], box.corners[q], n, circle, velocity, dt);
        if (result.hit)
        {
            normal = result.normal;
            break;
        }
    }
    if (!result.hit)
    {
        return result;
    }
    // The touching point on the circle's rim, on the side facing the box.
    result.point = centre + Flat(velocity) * result.timeOfImpact - normal * circle.radius;
    result.point.z = circle.centre.z;
    if (circleHasBody)
    {
        result.normal = normal * -1.0f;
    }
    return result;
}

CollisionHit Collision::BoxBox(const BoxShape& a, const BoxShape& b, const Vector4& velocity, float dt)
{
    CollisionHit result;
    Vector4 minA{INF, INF, 0, 0}, maxA{-INF, -INF, 0, 0}, minB{INF, INF, 0, 0}, maxB{-INF, -INF, 0, 0};
    for (std::size_t i = 0; i < 4; ++i)
    {
        minA = {std::min(minA.x, a.corners[i].x), std::min(minA.y, a.corners[i].y), 0, 0};
        maxA = {std::max(maxA.x, a.corners[i].x), std::max(maxA.y, a.corners[i].y), 0, 0};
        minB = {std::min(minB.x, b.corners[i].x), std::min(minB.y, b.corners[i].y), 0, 0};
        maxB = {std::max(maxB.x, b.corners[i].x), std::max(maxB.y, b.corners[i].y), 0, 0};
    }
    const float ox = std::min(maxA.x, maxB.x) - std::max(minA.x, minB.x);
    const float oy = std::min(maxA.y, maxB.y) - std::max(minA.y, minB.y);
    const Vector4 v = Flat(velocity);

    // Overlapping now: the axis of least overlap, the depth as a negative distance.
    auto overlapNow = [&]
    {
        if (ox < 0.0f || oy < 0.0f)
        {
            return false;
        }
        result.hit = true;
        result.normal = ox < oy ? Vector4{1, 0, 0, 0} : Vector4{0, 1, 0, 0};
        const float distance = -std::min(ox, oy);
        result.point = Vector4{std::min(maxA.x, maxB.x), std::min(maxA.y, maxB.y), a.centre.z, 0} +
                       result.normal * distance;
        result.depth = -distance; // stored as a penetration
        result.timeOfImpact = 0.0f;
        return true;
    };

    // Entry and exit times of one axis; false when the boxes can never meet on it.
    struct Axis
    {
        bool gap = false; // the boxes are apart on this axis and closing
        float entry = -INF, exit = INF;
        float sign = 1.0f;
    };
    auto sweepAxis = [](float minA_, float maxA_, float minB_, float maxB_, float speed, Axis& axis)
    {
        if (speed > 0.0f)
        {
            if (minA_ > maxB_)
            {
                return false;
            }
            axis.exit = (maxB_ - minA_) / speed;
            if (minB_ > maxA_)
            {
                axis.gap = true;
                axis.entry = (minB_ - maxA_) / speed;
            }
        }
        else if (speed < 0.0f)
        {
            axis.sign = -1.0f;
            if (maxA_ < minB_)
            {
                return false;
            }
            axis.exit = (maxA_ - minB_) / -speed;
            if (maxB_ < minA_)
            {
                axis.gap = true;
                axis.entry = (minA_ - maxB_) / -speed;
            }
        }
        else if (maxA_ < minB_ || maxB_ < minA_)
        {
            return false;
        }
        return true;
    };

    if (v.x == 0.0f && v.y == 0.0f)
    {
        overlapNow();
    }
    else
    {
        Axis axisX, axisY;
        if (!sweepAxis(minA.x, maxA.x, minB.x, maxB.x, v.x, axisX) ||
            !sweepAxis(minA.y, maxA.y, minB.y, maxB.y, v.y, axisY))
        {
            return result;
        }
        if (!axisX.gap && !axisY.gap)
        {
            overlapNow();
        }
        else
        {
            const bool xLast = axisX.gap && (!axisY.gap || axisX.entry >= axisY.entry);
            const float toi = xLast ? axisX.entry : axisY.entry;
            // Closing on both axes is not enough: the boxes must still overlap on the other
            // axis when the last one is entered, or they slide past each other.
            if (toi >= dt || toi > std::min(axisX.exit, axisY.exit))
            {
                return result;
            }
            result.hit = true;
            result.timeOfImpact = toi;
            result.depth = 0.0f;
            if (xLast)
            {
                result.normal = {axisX.sign, 0, 0, 0};
                const float midY = (std::max(minA.y, minB.y) + std::min(maxA.y, maxB.y)) * 0.5f;
                result.point = {axisX.sign > 0.0f ? maxA.x : minA.x, midY, a.centre.z, 0};
            }
            else
            {
                result.normal = {0, axisY.sign, 0, 0};
                const float midX = (std::max(minA.x, minB.x) + std::min(maxA.x, maxB.x)) * 0.5f;
                result.point = {midX, axisY.sign > 0.0f ? maxA.y : minA.y, a.centre.z, 0};
            }
            result.point += v * toi;
        }
    }
    if (!result.hit || (IsAxisAligned(a.angle) && IsAxisAligned(b.angle)))
    {
        return result;
    }

    // A turned box: the bounding boxes only proposed the hit. The shapes themselves must touch
    // at the proposed time or by the end of the step.
    std::array<Vector4, 4> moved;
    Offset(a.corners, v * result.timeOfImpact, moved);
    const PolygonDistance atImpact = Distance(moved, b.corners);
    Offset(a.corners, v * dt, moved);
    const PolygonDistance atEnd = Distance(moved, b.corners);
    if (std::min(atImpact.distance, atEnd.distance) > GJK_TOUCH)
    {
        return CollisionHit{};
    }
    const PolygonDistance now = Distance(a.corners, b.corners);
    const AxisSweep axes = SweepAxes(a.corners, b.corners);
    if (now.distance <= GJK_TOUCH)
    {
        // Touching or overlapping now: push out along the edge normal of least overlap.
        result.timeOfImpact = 0.0f;
        result.normal = axes.leastOverlapAxis;
        result.depth = std::max(0.0f, axes.leastOverlap);
        result.point = now.pointA;
    }
    else
    {
        // Ahead in time: the edge that separates them most is the one they will meet on.
        result.normal = axes.widestGapAxis;
        result.depth = 0.0f;
        result.point = atImpact.pointA;
    }
    result.point.z = a.centre.z;
    return result;
}

bool Collision::BoxBoxQuick(const BoxShape& a, const BoxShape& b)
{
    return InsideBox(b, ClosestOnOutline(a, b.centre)) || InsideBox(a, ClosestOnOutline(b, a.centre));
}

PolygonDistance Collision::Distance(const std::array<Vector4, 4>& a, const std::array<Vector4, 4>& b)
{
    // A simplex vertex of the difference A - B and the corners that made it.
    struct Vertex
    {
        Vector4 w;
        std::size_t i, j;
        float weight;
    };
    auto support = [&](const Vector4& direction, std::size_t& i, std::size_t& j)
    {
        i = j = 0;
        float bestA = -INF, bestB = -INF;
        for (std::size_t k = 0; k < 4; ++k)
        {
            if (Dot(a[k], direction) > bestA)
            {
                bestA = Dot(a[k], direction);
                i = k;
            }
            if (-Dot(b[k], direction) > bestB)
            {
                bestB = -Dot(b[k], direction);
                j = k;
            }
        }
    };

    std::array<Vertex, 3> simplex{};
    std::size_t count = 1;
    simplex[0] = {Flat(a[0] - b[0]), 0, 0, 1.0f};
    Vector4 closest = simplex[0].w;
    bool overlap = false;

    // Reduces the simplex to the feature nearest the origin and sets the weights of what stays.
    auto reduce = [&]
    {
        auto segment = [&](const Vertex& p, const Vertex& q, std::array<Vertex, 3>& out, std::size_t& n)
        {
            const Vector4 e = q.w - p.w;
            const float ee = Dot(e, e);
            const float t = ee > 0.0f ? std::clamp(-Dot(p.w, e) / ee, 0.0f, 1.0f) : 0.0f;
            if (t <= 0.0f)
            {
                out[0] = p, out[0].weight = 1.0f, n = 1;
            }
            else if (t >= 1.0f)
            {
                out[0] = q, out[0].weight = 1.0f, n = 1;
            }
            else
            {
                out[0] = p, out[0].weight = 1.0f - t;
                out[1] = q, out[1].weight = t;
                n = 2;
            }
            return p.w + e * t;
        };
        if (count == 1)
        {
            simplex[0].weight = 1.0f;
            closest = simplex[0].w;
        }
        else if (count == 2)
        {
            std::array<Vertex, 3> out{};
            std::size_t n = 0;
            closest = segment(simplex[0], simplex[1], out, n);
            simplex = out;
            count = n;
        }
        else
        {
            const Vector4 p = simplex[0].w, q = simplex[1].w, r = simplex[2].w;
            const float area = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
            const float c0 = (q.x * r.y - q.y * r.x), c1 = (r.x * p.y - r.y * p.x),
                        c2 = (p.x * q.y - p.y * q.x);
            if (area != 0.0f && c0 / area >= 0.0f && c1 / area >= 0.0f && c2 / area >= 0.0f)
            {
                overlap = true; // the origin lies inside the triangle
                simplex[0].weight = c0 / area, simplex[1].weight = c1 / area, simplex[2].weight = c2 / area;
                closest = {0, 0, 0, 0};
                return;
            }
            std::array<Vertex, 3> bestOut{};
            std::size_t bestCount = 0;
            float bestDistance = INF;
            const std::array<std::pair<int, int>, 3> edges{{{0, 1}, {1, 2}, {2, 0}}};
            for (const auto& [from, to] : edges)
            {
                std::array<Vertex, 3> out{};
                std::size_t n = 0;
                const Vector4 point = segment(simplex[from], simplex[to], out, n);
                if (Dot(point, point) < bestDistance)
                {
                    bestDistance = Dot(point, point);
                    bestOut = out;
                    bestCount = n;
                    closest = point;
                }
            }
            simplex = bestOut;
            count = bestCount;
        }
    };

    for (int iteration = 0; iteration < GJK_ITERATIONS; ++iteration)
    {
        reduce();
        if (overlap || Dot(closest, closest) < 1e-12f)
        {
            overlap = true;
            break;
        }
        std::size_t i = 0, j = 0;
        support(closest * -1.0f, i, j);
        const bool repeated =
            std::any_of(simplex.begin(), simplex.begin() + static_cast<std::ptrdiff_t>(count),
                        [&](const Vertex& v) { return v.i == i && v.j == j; });
        const Vector4 w = Flat(a[i] - b[j]);
        // No support point gets nearer the origin than the current one: the search has converged.
        if (repeated || Dot(closest, closest) - Dot(closest, w) <= 1e-6f * Dot(closest, closest))
        {
            break;
        }
        simplex[count++] = {w, i, j, 0.0f};
    }

    PolygonDistance result;
    for (std::size_t k = 0; k < count; ++k)
    {
        result.pointA += Flat(a[simplex[k].i]) * simplex[k].weight;
        result.pointB += Flat(b[simplex[k].j]) * simplex[k].weight;
    }
    result.distance = overlap ? 0.0f : Length(closest);
    return result;
}

} // namespace Varn::Physics
