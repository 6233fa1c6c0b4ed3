#include "platform/gl/GlShaders.h"

#include "platform/gl/GlApi.h"

namespace vorlith {

// The fixed-function pipeline of one directional light, per vertex: emissive + material
// ambient x (global ambient + light ambient) + material diffuse x light diffuse x max(0, N.-L),
// alpha from the material's diffuse, then modulated by the texture when there is one.
// Depth arrives in 0..1 as the projection matrices make it and is mapped to GL's -1..1.
// Drawn instanced: the matrices come with each instance, the material by the vertex's subset.
const char* const kMeshVertexShader = VORLITH_GLSL_VERSION R"(layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in int subset;
layout(location = 4) in mat4 worldViewProjection;
layout(location = 8) in vec4 world0;
layout(location = 9) in vec4 world1;
layout(location = 10) in vec4 world2;
uniform bool lighting;
uniform bool lightOn;
uniform vec3 lightDirection;
uniform vec4 lightDiffuse;
uniform vec4 lightAmbient;
uniform vec4 globalAmbient;
uniform int materialBase;
uniform vec4 materialDiffuse[16];
uniform vec4 materialAmbient[16];
uniform vec4 materialEmissive[16];
out vec4 vColour;
out vec2 vTexCoord;
void main() {
  vec4 clip = worldViewProjection * vec4(position, 1.0);
  gl_Position = vec4(clip.x, clip.y, 2.0 * clip.z - clip.w, clip.w);
  vTexCoord = texCoord;
  if (!lighting) {
    vColour = vec4(1.0);
    return;
  }
  int m = subset - materialBase;
  vec3 colour = materialEmissive[m].rgb + materialAmbient[m].rgb * globalAmbient.rgb;
  if (lightOn) {
    vec3 n = mat3(world0.xyz, world1.xyz, world2.xyz) * normal;
    float len = length(n);
    float intensity = len > 0.0 ? max(0.0, dot(n / len, -lightDirection)) : 0.0;
    colour += materialAmbient[m].rgb * lightAmbient.rgb;
    colour += materialDiffuse[m].rgb * lightDiffuse.rgb * intensity;
  }
  vColour = vec4(clamp(colour, 0.0, 1.0), clamp(materialDiffuse[m].a, 0.0, 1.0));
}
)";

const char* const kMeshFragmentShader = VORLITH_GLSL_VERSION R"(in vec4 vColour;
in vec2 vTexCoord;
uniform bool textured;
uniform sampler2D textureMap;
out vec4 fragColour;
void main() {
  vec4 colour = vColour;
  if (textured) colour *= texture(textureMap, vTexCoord);
  fragColour = colour;
}
)";

const char* const kLineFragmentShader =
    VORLITH_GLSL_VERSION R"(in float vValue;  // across the line, in pixels from its middle
uniform vec4 colour;
uniform float halfWidth;
uniform bool antialias;
out vec4 fragColour;
void main() {
  float coverage = antialias ? clamp(halfWidth + 0.5 - abs(vValue), 0.0, 1.0) : 1.0;
  fragColour = vec4(colour.rgb, colour.a * coverage);
}
)";

const char* const kTextFragmentShader =
    VORLITH_GLSL_VERSION R"(in vec2 vValue;  // the atlas position
uniform vec4 colour;
uniform sampler2D atlas;
out vec4 fragColour;
void main() {
  fragColour = vec4(colour.rgb, colour.a * texture(atlas, vValue).r);
}
)";

const char* const kCopyVertexShader = VORLITH_GLSL_VERSION R"(
void main() {
  vec2 corner = vec2(float((gl_VertexID & 1) * 4 - 1), float((gl_VertexID & 2) * 2 - 1));
  gl_Position = vec4(corner, 0.0, 1.0);
}
)";

const char* const kCopyFragmentShader = VORLITH_GLSL_VERSION R"(
uniform sampler2D image;
uniform ivec2 origin;
out vec4 fragColour;
void main() {
  fragColour = texelFetch(image, ivec2(gl_FragCoord.xy) - origin, 0);
}
)";

std::string ScreenSpaceVertexShader(const char* valueType) {
  const std::string type = valueType;
  return VORLITH_GLSL_VERSION
         "layout(location = 0) in vec2 position;\n"
         "layout(location = 1) in " +
         type +
         " value;\n"
         "uniform vec2 screenSize;\n"
         "out " +
         type +
         " vValue;\n"
         "void main() {\n"
         "  vValue = value;\n"
         "  gl_Position = vec4(position.x / screenSize.x * 2.0 - 1.0,\n"
         "                     1.0 - position.y / screenSize.y * 2.0, 0.0, 1.0);\n"
         "}\n";
}

}  // namespace vorlith
