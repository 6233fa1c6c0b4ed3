// How long the sound work of a stage start and of one frame takes.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/headless/SilentAudioSystem.h"
#include "platform/headless/StderrDialogs.h"
#include "sound/SoundManager.h"
#include "sound/WaveFile.h"

namespace {

// The files under data/ when run from there, else the copies linked into the program.
constexpr const char* kShot = "./sound/se_sad04.wav";
constexpr const char* kBlast = "./sound/se_sob02.wav";

// Opening and reading the destruction effect whole, as a sound's load does.
void BM_WaveFileOpenAndRead(benchmark::State& state) {
  std::vector<std::uint8_t> buffer(1 << 20);
  for (auto _ : state) {
    vorlith::WaveFile wave;
    wave.Open(kBlast);
    std::uint32_t got = 0;
    wave.Read(buffer.data(), wave.GetSize(), &got);
    benchmark::DoNotOptimize(got);
  }
}
BENCHMARK(BM_WaveFileOpenAndRead);

// The sound side of a stage start: device, two sounds with ten voices each, release.
void BM_StageSoundStart(benchmark::State& state) {
  vorlith::SilentAudioSystem audio;
  vorlith::StderrDialogs dialogs;
  for (auto _ : state) {
    vorlith::SoundManager manager(dialogs);
    manager.Init(&audio);
    manager.RegisterSound(0, kShot);
    manager.RegisterSound(1, kBlast);
    benchmark::DoNotOptimize(manager.LoadAllSounds());
    manager.ReleaseAllSounds();
    manager.ReleaseDevice();
  }
}
BENCHMARK(BM_StageSoundStart);

// One play of an effect, the per-frame cost.
void BM_Play(benchmark::State& state) {
  vorlith::SilentAudioSystem audio;
  vorlith::StderrDialogs dialogs;
  vorlith::SoundManager manager(dialogs);
  manager.Init(&audio);
  manager.RegisterSound(0, kShot);
  manager.LoadAllSounds();
  for (auto _ : state) manager.Play(0);
}
BENCHMARK(BM_Play);

}  // namespace

BENCHMARK_MAIN();
