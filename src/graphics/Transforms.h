#pragma once

#include "platform/RenderTypes.h"

namespace vorlith {

class RenderDevice;

// The process-wide drawing device used by models and the scene set-up below.
void SetGraphicsDevice(RenderDevice* device);
RenderDevice* GetGraphicsDevice();

// World matrix of one model pose (row-vector convention): scale, the 90-degree base turn
// about X, then X, Y and Z turns in degrees (an angle of exactly 0 is skipped), then the move.
Matrix MakeWorldMatrix(float x, float y, float z, float rotX, float rotY, float rotZ, float scale);

void ApplyDefaultRenderStates();
void SetupPlayfieldScene();
void SetHudViewport();
void GetBackBufferSize(int& width, int& height);
Light MakeDirectionalLight(LightType type, float x, float y, float z);

}  // namespace vorlith
