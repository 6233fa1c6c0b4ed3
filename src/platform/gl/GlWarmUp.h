#pragma once

namespace vorlith {

class RenderDevice;

// One draw of each kind a play frame makes that the title does not (clears of part of the
// buffer, colour and depth; a lit, depth-tested, culled and blended model; an antialiased
// polyline), through the device's own calls into whatever back buffer it has. A software
// driver builds its code for each kind of draw the first time one is made: done on a scratch
// buffer while the title shows, the first play frame finds it built. Leaves the device's
// viewport, render states, material, light and transforms changed (a play frame sets all of
// them before it draws).
void WarmUpPipeline(RenderDevice& device);

}  // namespace vorlith
