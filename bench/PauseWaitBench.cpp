// CPU spent by a paused game waiting for its next event while a controller is attached:
// SDL's own wait (which polls the joysticks every millisecond) against SdlEventWait. Each
// iteration waits 300 ms for an event that never comes; read the CPU column. A virtual
// controller stands in for a real one. Without a display SDL waits in its polling loop in
// both cases: run it under X (Xvfb) to see the difference.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "platform/sdl/SdlEventWait.h"

namespace {

constexpr int kWaitMs = 300;

struct ControllerAttached {
  ControllerAttached() {
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER);
    window = SDL_CreateWindow("wait", 0, 0, 64, 64, 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 15, 0);
    controller = SDL_GameControllerOpen(index);
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
  }
  ~ControllerAttached() {
    SDL_GameControllerClose(controller);
    SDL_DestroyWindow(window);
    SDL_Quit();
  }
  SDL_Window* window = nullptr;
  SDL_GameController* controller = nullptr;
};

void SdlWaitEventTimeout(benchmark::State& state) {
  ControllerAttached attached;
  SDL_Event event;
  for (auto _ : state) benchmark::DoNotOptimize(SDL_WaitEventTimeout(&event, kWaitMs));
}

void SdlEventWaitWait(benchmark::State& state) {
  ControllerAttached attached;
  SDL_Event event;
  for (auto _ : state) benchmark::DoNotOptimize(vorlith::SdlEventWait::Wait(event, kWaitMs));
}

BENCHMARK(SdlWaitEventTimeout)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(SdlEventWaitWait)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
