#include "resource/BuiltinShaders.h"

#include <string>

namespace Varn::Resource::BuiltinShaders
{

const char* const SPRITE_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec3 attrVerts;
layout (location = 1) in vec2 attrTexCoords;

out vec2 TexCoords;
out vec3 FragPos;

uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
uniform mat4 imageScale;
uniform vec2 texOffset;

void main()
{
    vec4 worldPos = transpose(model) * transpose(imageScale) * vec4(attrVerts, 1.0);
    FragPos = worldPos.xyz;
    gl_Position = projection * view * worldPos;
    TexCoords = attrTexCoords + texOffset;
}
)GLSL";

// The point light and what lights add to a texel, written once for both sprite programs so
// that they light alike. Lights only add colour; alpha comes from the texel and the opacity.
const char* const POINT_LIGHT = R"GLSL(
#define MAX_LIGHTS 128

struct PointLight
{
    vec3 color;
    vec3 position;
    float ambient;
    float constant;
    float linear;
    float quadratic;
};
)GLSL";

// Reads `pointLights` and `lightsInUse`, which each program declares in its own way.
const char* const ADD_LIGHTS = R"GLSL(
vec4 AddLights(vec4 texel, vec3 fragPos)
{
    vec4 colour = texel;
    int count = min(lightsInUse, MAX_LIGHTS);
    for (int i = 0; i < count; ++i)
    {
        float d = length(pointLights[i].position - fragPos);
        float attenuation = 1.0 / (pointLights[i].constant + pointLights[i].linear * d +
                                   pointLights[i].quadratic * d * d);
        vec3 added = pointLights[i].ambient * pointLights[i].color * texel.rgb * attenuation;
        colour += vec4(added, 0.0);
    }
    return colour;
}
)GLSL";

// `viewPos` and `Normals` are part of the interface that user fragment shaders may use.
const std::string spriteFragment = std::string("#version 330 core\n") + POINT_LIGHT + R"GLSL(
in vec2 TexCoords;
in vec3 FragPos;
in vec3 Normals;

out vec4 FragColor;

uniform PointLight pointLights[MAX_LIGHTS];
uniform int lightsInUse;
uniform sampler2D SpriteTexture;
uniform float opacity;
uniform vec3 tint;
uniform bool receiveLight;
uniform vec3 viewPos;
)GLSL" + ADD_LIGHTS + R"GLSL(
void main()
{
    vec4 texel = texture(SpriteTexture, TexCoords);
    vec4 colour = receiveLight ? AddLights(texel, FragPos) : texel;
    FragColor = colour * vec4(1.0, 1.0, 1.0, opacity) * vec4(tint, 1.0);
}
)GLSL";
const char* const SPRITE_FRAGMENT = spriteFragment.c_str();

// Same arithmetic as the single-sprite programs, in the same order, so both draw the same
// pixels: the model matrix is rebuilt from its rows and transposed, the image scale is a
// diagonal matrix, and the unit quad's texture corners times the cell size give the mesh's.
const char* const SPRITE_BATCH_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec3 attrVerts;
layout (location = 1) in vec2 attrTexCoords;
layout (location = 2) in vec4 modelRow0;
layout (location = 3) in vec4 modelRow1;
layout (location = 4) in vec4 modelRow2;
layout (location = 5) in vec4 modelRow3;
layout (location = 6) in vec4 scaleAndOffset; // image scale x, y; texture offset u, v
layout (location = 7) in vec4 cellAndLight;   // cell width, height in texture units; receives light
layout (location = 8) in vec4 tintAndOpacity;

layout (std140) uniform Frame
{
    mat4 projection;
    mat4 view;
    vec4 viewPos;
};

out vec2 TexCoords;
out vec3 FragPos;
flat out vec4 TintOpacity;
flat out float ReceiveLight;

void main()
{
    mat4 model = mat4(modelRow0, modelRow1, modelRow2, modelRow3);
    mat4 imageScale = mat4(scaleAndOffset.x, 0.0, 0.0, 0.0,
                           0.0, scaleAndOffset.y, 0.0, 0.0,
                           0.0, 0.0, 1.0, 0.0,
                           0.0, 0.0, 0.0, 1.0);
    vec4 worldPos = transpose(model) * transpose(imageScale) * vec4(attrVerts, 1.0);
    FragPos = worldPos.xyz;
    gl_Position = projection * view * worldPos;
    TexCoords = attrTexCoords * cellAndLight.xy + scaleAndOffset.zw;
    TintOpacity = tintAndOpacity;
    ReceiveLight = cellAndLight.z;
}
)GLSL";

const std::string batchFragment = std::string("#version 330 core\n") + POINT_LIGHT + R"GLSL(
layout (std140) uniform Lights
{
    PointLight pointLights[MAX_LIGHTS];
    int lightsInUse;
};

in vec2 TexCoords;
in vec3 FragPos;
flat in vec4 TintOpacity;
flat in float ReceiveLight;

out vec4 FragColor;

uniform sampler2D SpriteTexture;
)GLSL" + ADD_LIGHTS + R"GLSL(
void main()
{
    vec4 texel = texture(SpriteTexture, TexCoords);
    vec4 colour = ReceiveLight != 0.0 ? AddLights(texel, FragPos) : texel;
    FragColor = colour * vec4(1.0, 1.0, 1.0, TintOpacity.a) * vec4(TintOpacity.rgb, 1.0);
}
)GLSL";
const char* const SPRITE_BATCH_FRAGMENT = batchFragment.c_str();

// The batched program for runs no light reaches: the lit program's arithmetic with its light
// loop left out, which a software rasteriser draws much faster (its plain texture-times-colour
// path), for the same pixels.
const char* const SPRITE_BATCH_UNLIT_FRAGMENT = R"GLSL(#version 330 core
in vec2 TexCoords;
flat in vec4 TintOpacity;

out vec4 FragColor;

uniform sampler2D SpriteTexture;

void main()
{
    vec4 texel = texture(SpriteTexture, TexCoords);
    FragColor = texel * vec4(1.0, 1.0, 1.0, TintOpacity.a) * vec4(TintOpacity.rgb, 1.0);
}
)GLSL";

const char* const FBO_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec2 aPos;
layout (location = 1) in vec2 aTexCoords;

out vec2 TexCoords;

uniform vec2 offset;

void main()
{
    gl_Position = vec4(aPos.x - offset.x, aPos.y - offset.y, 0.0, 1.0);
    TexCoords = aTexCoords;
}
)GLSL";

const char* const FBO_FRAGMENT = R"GLSL(#version 330 core
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D screenTexture;
uniform vec4 tint;

void main()
{
    FragColor = texture(screenTexture, TexCoords) * tint;
}
)GLSL";

// Each pair of taps is displaced along both axes at once, a diagonal blur; the weights add up
// to one, so a flat colour passes unchanged.
const char* const FBO_BLUR_FRAGMENT = R"GLSL(#version 330 core
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D screenTexture;
uniform vec4 tint;

const float TAP_OFFSETS[3] = float[](1.411764706, 3.293264583, 5.176470588);
const float TAP_WEIGHTS[3] = float[](0.29690696547, 0.09447039785, 0.0103813624);

void main()
{
    vec2 texelStep = 1.5 / vec2(textureSize(screenTexture, 0));
    vec4 sum = texture(screenTexture, TexCoords) * 0.1964825502;
    for (int i = 0; i < 3; ++i)
    {
        sum += texture(screenTexture, TexCoords + texelStep * TAP_OFFSETS[i]) * TAP_WEIGHTS[i];
        sum += texture(screenTexture, TexCoords - texelStep * TAP_OFFSETS[i]) * TAP_WEIGHTS[i];
    }
    FragColor = sum * tint;
}
)GLSL";

const char* const TEXT_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec4 vertex;

out vec2 TexCoords;

uniform mat4 projection;
uniform mat4 view;

void main()
{
    gl_Position = projection * view * vec4(vertex.xy, 0.0, 1.0);
    TexCoords = vertex.zw;
}
)GLSL";

const char* const TEXT_FRAGMENT = R"GLSL(#version 330 core
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D text;
uniform vec3 textColor;

void main()
{
    vec4 sampled = vec4(1.0, 1.0, 1.0, texture(text, TexCoords).r);
    FragColor = vec4(textColor, 1.0) * sampled;
}
)GLSL";

const char* const LINE_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec2 position;

uniform mat4 projection;
uniform mat4 view;

void main()
{
    gl_Position = projection * view * vec4(position, 0.0, 1.0);
}
)GLSL";

const char* const LINE_FRAGMENT = R"GLSL(#version 330 core
out vec4 FragColor;

uniform vec4 colour;

void main()
{
    FragColor = colour;
}
)GLSL";

// The instance's row-major matrix arrives one row per location, i.e. as the columns of a GLSL
// matrix; transposing it gives the matrix back.
const char* const PARTICLE_VERTEX = R"GLSL(#version 330 core
layout (location = 0) in vec3 attrVerts;
layout (location = 1) in vec2 attrTexCoords;
layout (location = 2) in vec4 color;
layout (location = 3) in mat4 model;

out vec2 TexCoords;
out vec4 SpriteCol;

uniform mat4 projection;
uniform mat4 view;

void main()
{
    gl_Position = projection * view * transpose(model) * vec4(attrVerts, 1.0);
    SpriteCol = color;
    TexCoords = attrTexCoords;
}
)GLSL";

// Glow adds a blurred copy to the texel and tone-maps the sum (1 - e^-t, then gamma 2.2).
const char* const PARTICLE_FRAGMENT = R"GLSL(#version 330 core
in vec2 TexCoords;
in vec4 SpriteCol;

out vec4 FragColor;

uniform sampler2D SpriteTexture;
uniform bool glow;

const float TAP_OFFSETS[3] = float[](1.411764706, 3.293264583, 5.176470588);
const float TAP_WEIGHTS[3] = float[](0.29690696547, 0.09447039785, 0.0103813624);

void main()
{
    vec4 texel = texture(SpriteTexture, TexCoords);
    if (!glow)
    {
        FragColor = texel * SpriteCol;
        return;
    }
    vec2 texelStep = 1.0 / vec2(textureSize(SpriteTexture, 0));
    vec4 sum = texel * 0.1964825502;
    for (int i = 0; i < 3; ++i)
    {
        sum += texture(SpriteTexture, TexCoords + texelStep * TAP_OFFSETS[i]) * TAP_WEIGHTS[i];
        sum += texture(SpriteTexture, TexCoords - texelStep * TAP_OFFSETS[i]) * TAP_WEIGHTS[i];
    }
    vec4 toneMapped = vec4(1.0) - exp(-(texel + sum));
    toneMapped = pow(toneMapped, vec4(1.0 / 2.2));
    FragColor = toneMapped * SpriteCol;
}
)GLSL";

} // namespace Varn::Resource::BuiltinShaders
