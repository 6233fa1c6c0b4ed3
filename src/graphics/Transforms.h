#pragma once

#include "base/RenderTypes.h"

namespace vorlith {

class RenderDevice;

// World matrix of one model pose (row-vector convention): scale, the 90-degree base turn
// about X, then X, Y and Z turns in degrees (an angle of exactly 0 is skipped), then the move.
Matrix MakeWorldMatrix(float x, float y, float z, float rotX, float rotY, float rotZ, float scale);

// The scene set-up on the given device; without a device nothing is set.
void ApplyDefaultRenderStates(RenderDevice* device);
void SetupPlayfieldScene(RenderDevice* device);
void SetHudViewport(RenderDevice* device);
// The device's back-buffer size; 0 x 0 without a device or back buffer.
void GetBackBufferSize(const RenderDevice* device, int& width, int& height);
Light MakeDirectionalLight(LightType type, float x, float y, float z);

}  // namespace vorlith
