// The deep pile of bench/PhysicsBench.cpp in Box2D: the same pit, bodies, sizes, gravity,
// starting velocities and 600 steps of 1/60 s. Bodies keep their angle, as ours do; Box2D's
// sleeping stays on, as a game would leave it, unless "awake" follows the count: then every body
// is stepped to the end, as ours are. Prints the CPU time of the 600 steps.
//   g++ -O2 -o pile pile.cpp -lbox2d && ./pile 1000 [awake]
#include <box2d/box2d.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int columns = 20;
    const float cell = 24.0f, size = 20.0f, halfWidth = columns * cell / 2.0f, wall = 100.0f;
    const float height = static_cast<float>(count / columns + 2) * cell + 2.0f * wall;

    b2World world(b2Vec2(0.0f, -10.0f));
    world.SetAllowSleeping(!(argc > 2 && std::strcmp(argv[2], "awake") == 0));
    auto addWall = [&](float x, float y, float hx, float hy)
    {
        b2BodyDef def;
        def.position.Set(x, y);
        b2PolygonShape box;
        box.SetAsBox(hx, hy);
        world.CreateBody(&def)->CreateFixture(&box, 0.0f);
    };
    addWall(0, -wall / 2, halfWidth + wall, wall / 2);
    addWall(-halfWidth - wall / 2, height / 2, wall / 2, height / 2);
    addWall(halfWidth + wall / 2, height / 2, wall / 2, height / 2);

    std::vector<b2Body*> bodies;
    for (int i = 0; i < count; ++i)
    {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.fixedRotation = true;
        def.position.Set(-halfWidth + cell / 2 + static_cast<float>(i % columns) * cell,
                         cell / 2 + static_cast<float>(i / columns) * cell);
        def.linearVelocity.Set(static_cast<float>(i % 7) * 10.0f - 30.0f, 0.0f);
        b2Body* body = world.CreateBody(&def);
        b2FixtureDef fixture;
        fixture.density = 1.0f / (size * size); // mass 1, as ours
        fixture.friction = 0.5f;
        b2CircleShape circle;
        circle.m_radius = size / 2;
        b2PolygonShape box;
        box.SetAsBox(size / 2, size / 2);
        fixture.shape = i % 2 == 0 ? static_cast<b2Shape*>(&circle) : static_cast<b2Shape*>(&box);
        body->CreateFixture(&fixture);
        bodies.push_back(body);
    }

    std::clock_t start = std::clock();
    for (int step = 0; step < 600; ++step)
    {
        world.Step(1.0f / 60.0f, 8, 3);
    }
    const double ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;

    int escaped = 0;
    for (const b2Body* body : bodies)
    {
        const b2Vec2 p = body->GetPosition();
        escaped += std::isfinite(p.x) && std::isfinite(p.y) && p.y > -size / 2 &&
                           std::fabs(p.x) < halfWidth + size / 2
                       ? 0
                       : 1;
    }
    std::printf("%d bodies: %.1f ms for 600 steps, %d escaped\n", count, ms, escaped);
    return 0;
}
