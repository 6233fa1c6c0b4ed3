#pragma once

// The OpenGL entry points the drawing device uses: OpenGL 3.3 core through libepoxy on the
// desktop, OpenGL ES 3.0 (WebGL 2) in the browser. The few desktop calls ES spells
// differently are given their desktop names here, and the shader sources start with the
// version line of the one in use.
#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>

inline void glClearDepth(double depth) {
  glClearDepthf(static_cast<float>(depth));
}
inline void glDepthRange(double nearDepth, double farDepth) {
  glDepthRangef(static_cast<float>(nearDepth), static_cast<float>(farDepth));
}

#define VORLITH_GLSL_VERSION "#version 300 es\nprecision highp float;\n"
#else
#include <epoxy/gl.h>

#define VORLITH_GLSL_VERSION "#version 330 core\n"
#endif
