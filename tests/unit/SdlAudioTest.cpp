// Sound through SDL's audio output (the Windows build's): the software mixer, the mix SDL's
// disk driver writes to a file, and a machine without an output.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "EnvironmentScope.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/sdlaudio/AudioMixer.h"
#include "platform/sdlaudio/SdlAudioSystem.h"

namespace vorlith {
namespace {

std::vector<float> MixFrames(AudioMixer& mixer, std::size_t frames) {
  std::vector<float> out(frames * 2, -9.0f);
  mixer.Mix(out.data(), frames);
  return out;
}

TEST(AudioMixerTest, VoicesSumAtTheirGainsClipAndEndWithTheirBuffer) {
  AudioMixer mixer;
  const std::uint32_t loud = mixer.AddBuffer({0.75f, -0.75f, 0.75f, -0.75f, 0.75f, -0.75f});
  const std::uint32_t quiet = mixer.AddBuffer({0.25f, 0.25f});
  const std::uint32_t a = mixer.AddVoice(loud), b = mixer.AddVoice(loud);
  const std::uint32_t c = mixer.AddVoice(quiet);
  EXPECT_EQ(mixer.AddVoice(999), 0u);
  mixer.SetGain(c, 0.5f);
  mixer.Play(a);
  mixer.Play(b);
  mixer.Play(c);
  // Frame 0: 0.75 + 0.75 + 0.125 clipped to 1; right -1.5 + 0.125 clipped to -1.
  EXPECT_EQ(MixFrames(mixer, 1), (std::vector<float>{1.0f, -1.0f}));
  EXPECT_FALSE(mixer.IsPlaying(c));  // its one frame is out
  mixer.Stop(b);
  mixer.Play(a);  // still sounding: carries on from frame 1
  EXPECT_EQ(MixFrames(mixer, 3), (std::vector<float>{0.75f, -0.75f, 0.75f, -0.75f, 0, 0}));
  EXPECT_FALSE(mixer.IsPlaying(a));
  mixer.Play(a);  // finished: from the start again, its buffer gone meanwhile
  mixer.RemoveBuffer(loud);
  EXPECT_EQ(MixFrames(mixer, 1), (std::vector<float>{0.75f, -0.75f}));
  EXPECT_EQ(mixer.AddVoice(loud), 0u);
  mixer.RemoveVoice(a);
  EXPECT_FALSE(mixer.IsPlaying(a));
}

using testing::EnvironmentScope;

// A mono 16-bit sound at 22050 Hz comes out of both channels at 44100 Hz, at its gain.
TEST(SdlAudioTest, DiskDriverWritesTheMixConvertedToStereoFloatAtItsGain) {
  const std::string file = ::testing::TempDir() + "sdl-mix.raw";
  const EnvironmentScope driver("SDL_AUDIODRIVER", "disk"), into("SDL_DISKAUDIOFILE", file.c_str()),
      delay("SDL_DISKAUDIODELAY", "1");
  constexpr int kFrames = 2205;  // 0.1 s
  {
    SdlAudioSystem audio;
    auto device = audio.OpenDevice();
    ASSERT_TRUE(device && device->Claim() && device->CreateMix());
    ASSERT_TRUE(device->SetOutputFormat(44100, 2, 16));
    const std::vector<std::int16_t> half(kFrames, 16384);
    const std::uint32_t buffer = device->CreateBuffer(PcmFormat{1, 16, 22050}, half.data(),
                                                      half.size() * sizeof(std::int16_t) + 1);
    const std::uint32_t voice = device->CreateVoice(buffer);
    ASSERT_NE(voice, 0u);
    device->SetGain(voice, 0.5f);
    device->Play(voice);
    EXPECT_TRUE(device->IsPlaying(voice));
    for (int i = 0; i < 500 && device->IsPlaying(voice); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(device->IsPlaying(voice));
  }
  std::vector<float> mix(std::filesystem::file_size(file) / sizeof(float));
  std::ifstream(file, std::ios::binary)
      .read(reinterpret_cast<char*>(mix.data()), static_cast<std::streamsize>(mix.size() * 4));
  std::size_t sounding = 0;
  for (std::size_t i = 0; i + 1 < mix.size(); i += 2) {
    EXPECT_EQ(mix[i], mix[i + 1]);
    if (mix[i] > 0.24f && mix[i] < 0.26f) ++sounding;
  }
  EXPECT_NEAR(static_cast<double>(sounding), 2.0 * kFrames, 16.0);
  std::remove(file.c_str());
}

TEST(SdlAudioTest, WithoutAnOutputTheFallbackPlaysSilentlyOrThereIsNone) {
  const EnvironmentScope driver("SDL_AUDIODRIVER", "no-such-driver");
  SdlAudioSystem withFallback(std::make_unique<SilentAudioSystem>());
  ::testing::internal::CaptureStderr();
  EXPECT_NE(withFallback.OpenDevice(), nullptr);
  EXPECT_NE(withFallback.OpenDevice(), nullptr);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "vorlith: no audio output device could be opened; playing without sound\n");
  SdlAudioSystem without;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(without.OpenDevice(), nullptr);
  ::testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace vorlith
