#pragma once

#include <string>

namespace vorlith {

// Every GLSL source of the OpenGL backend, in one place.

// Meshes: one directional light per vertex, then the texture (GlMeshStore).
extern const char* const kMeshVertexShader;
extern const char* const kMeshFragmentShader;

// The 2D renderers' colour stages, after ScreenSpaceVertexShader.
extern const char* const kLineFragmentShader;
extern const char* const kTextFragmentShader;

// Presentation at the back buffer's size: one triangle over the viewport, each pixel the
// texel `origin` pixels to its lower left (GlPresentCopy).
extern const char* const kCopyVertexShader;
extern const char* const kCopyFragmentShader;

// The vertex shader of the 2D renderers (lines, text): `position` in back-buffer pixels,
// origin top left, to clip space; `value` (of the GLSL type given) passed on as `vValue`.
std::string ScreenSpaceVertexShader(const char* valueType);

}  // namespace vorlith
