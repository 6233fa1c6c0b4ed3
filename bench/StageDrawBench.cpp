// The real renderer at the busiest moment of the boss replay: the game is played through
// tests/replays/boss_stage_clear.replay up to frame 5226 (the boss dancing, 53 bullets, the
// enemies, both gauges, the HUD and the debug panel), then that frame is drawn over and over
// into the offscreen 640 x 480 back buffer through GameApp::Draw, waiting for the GPU each
// time. Prints milliseconds per drawn frame. Run from data/ with SDL_VIDEODRIVER=offscreen
// (or a display).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "app/GraphicsDevice.h"
#include "platform/Platform.h"
#include "platform/gl/GlRenderDevice.h"
#include "replay/ReplayPadSource.h"
#include "replay/ReplayStream.h"
#include "replay/UnpacedClock.h"
#include "stage/CStage.h"
#include "stage/MoverManager.h"

namespace {

constexpr const char* kReplay = "../tests/replays/boss_stage_clear.replay";
constexpr int kBusiestFrame = 5226;

template <typename T>
int CountSlots(T* const* slots, int n) {
  int count = 0;
  for (int i = 0; i < n; ++i) count += slots[i] != nullptr;
  return count;
}

void DrawBusiestBossFrame(benchmark::State& state) {
  setenv("ALSOFT_DRIVERS", "null", 0);  // no sound card needed; sounds still play
  vorlith::ReplayStream replay;
  std::string error;
  if (!replay.Open(kReplay, error)) {
    state.SkipWithError(("cannot read the replay (run from data/): " + error).c_str());
    return;
  }
  auto platform = vorlith::CreatePlatform();
  platform->clock = std::make_unique<vorlith::UnpacedClock>(std::move(platform->clock));
  vorlith::GameApp app(std::move(platform), {"vorlith", "-w", "640", "-h", "480"});
  app.SetPadSource(std::make_unique<vorlith::ReplayPadSource>(&replay));
  auto* device = app.IsReady()
                     ? dynamic_cast<vorlith::GlRenderDevice*>(app.GetGraphicsDevice()->GetDevice())
                     : nullptr;
  if (!device) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  for (int frame = 0; frame <= kBusiestFrame; ++frame) {
    app.Update();
    app.Draw();
  }
  vorlith::CStage* stage = app.GetStage();
  if (!stage) {
    state.SkipWithError("the replay did not reach the boss");
    return;
  }
  const std::clock_t cpuStart = std::clock();
  for (auto _ : state) {
    app.Draw();
    device->Finish();
  }
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  vorlith::MoverManager* manager = stage->GetManager();
  state.counters["bullets"] =
      CountSlots(manager->GetBulletSlots(), vorlith::MoverManager::kBulletSlots);
  state.counters["enemies"] =
      CountSlots(manager->GetEnemySlots(), vorlith::MoverManager::kEnemySlots);
  state.counters["all_threads_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(DrawBusiestBossFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
