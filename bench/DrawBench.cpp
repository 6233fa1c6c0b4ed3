// The play scene's drawing pass with every mover slot full: 3 ships, 3 bosses, 50 enemies,
// 500 bullets, 10 items and the 4 frame lines, 570 models, into the offscreen 640 x 480 back
// buffer. Prints the time per frame; run from data/ (the models are read from ./model).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "graphics/Model.h"
#include "graphics/ModelRegistry.h"
#include "graphics/Transforms.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlSdlContext.h"
#include "platform/headless/StderrDialogs.h"

namespace {

using vorlith::Model;

struct Placed {
  Model* model;
  float x, y, rotY, rotZ;
};

std::vector<Placed> FullField(const vorlith::ModelRegistry& models) {
  std::vector<Placed> field;
  auto add = [&](int slot, int count, float rotY, float rotZ) {
    for (int i = 0; i < count; ++i) {
      const float x = static_cast<float>((i * 37) % 100);
      const float y = static_cast<float>((i * 53) % 100);
      field.push_back({models.GetModel(slot), x, y, rotY * i, rotZ * i});
    }
  };
  add(1, 3, 0, 180);  // bosses
  add(2, 25, 0, 7);   // enemies
  add(3, 25, 0, 11);
  add(4, 200, 0, 0);  // bullets
  add(5, 200, 0, 0);
  add(6, 100, 0, 0);
  add(7, 10, 13, 0);  // items
  add(0, 3, 0, 3);    // ships
  field.push_back({models.GetModel(8), 50, 0, 0, 0});
  field.push_back({models.GetModel(8), 50, 100, 0, 0});
  field.push_back({models.GetModel(9), 0, 50, 0, 0});
  field.push_back({models.GetModel(9), 100, 50, 0, 0});
  return field;
}

void DrawFullField(benchmark::State& state) {
  auto device = vorlith::GlRenderDevice::Open(vorlith::GlSdlContext::Open(nullptr));
  if (!device || !device->Create(640, 480, true)) {
    state.SkipWithError("no OpenGL 3.3 device");
    return;
  }
  vorlith::ModelRegistry models;
  const char* files[] = {"./model/myship.x",
                         "./model/boss0.x",
                         "./model/enemy.x",
                         "./model/enemy_blue.x",
                         "./model/bullet_small_blue.x",
                         "./model/bullet_small_green.x",
                         "./model/laser_sign.x",
                         "./model/item_blue.x",
                         "./model/axis_x.x",
                         "./model/axis_y.x"};
  for (int slot = 0; slot < 10; ++slot) models.RegisterModel(slot, files[slot]);
  vorlith::StderrDialogs dialogs;
  if (!models.LoadAllModels(device.get(), dialogs)) {
    state.SkipWithError("models do not load (run from data/)");
    return;
  }
  const std::vector<Placed> field = FullField(models);
  // CPU time of every thread (the software rasterizer draws on threads of its own).
  const std::clock_t cpuStart = std::clock();
  for (auto _ : state) {
    device->BeginScene();
    vorlith::SetHudViewport(device.get());
    device->Clear(0xFF323232, true);
    vorlith::SetupPlayfieldScene(device.get());
    device->Clear(0xFF000000, true);
    for (const Placed& p : field) p.model->DrawAt(p.x, p.y, 0, 0, p.rotY, p.rotZ, 1.0f);
    device->EndScene();
    device->Finish();
  }
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  state.counters["models"] = static_cast<double>(field.size());
  state.counters["all_threads_cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
  models.ReleaseAllModels();
}

}  // namespace

BENCHMARK(DrawFullField)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
