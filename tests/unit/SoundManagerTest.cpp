#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "FakeAudioSystem.h"
#include "TestFiles.h"
#include "TestPlatform.h"
#include "WaveBytes.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/openal/OpenAlAudioSystem.h"
#include "platform/sdlaudio/AudioMixer.h"
#include "platform/sdlaudio/SdlAudioSystem.h"
#include "sound/KeptAudioSystem.h"
#include "sound/Sound.h"
#include "sound/SoundManager.h"
#include "sound/WaveFile.h"

namespace vorlith {
namespace {

using namespace vorlith::test;
using Texts = std::vector<std::string>;

constexpr const char* kShot = VORLITH_DATA_DIR "/sound/se_sad04.wav";
constexpr const char* kBlast = VORLITH_DATA_DIR "/sound/se_sob02.wav";

class SoundManagerTest : public ::testing::Test {
 protected:
  // Shown texts, all of which must carry the caption "Error"; forgets them.
  Texts Messages() {
    Texts texts;
    for (const auto& [caption, text] : dialogs.shown) {
      EXPECT_EQ(caption, "Error");
      texts.push_back(text);
    }
    dialogs.shown.clear();
    return texts;
  }

  bool InitAndLoad(SoundManager& manager) {
    if (!manager.Init(&audio)) return false;
    manager.RegisterSound(0, kShot);
    manager.RegisterSound(1, kBlast);
    return manager.LoadAllSounds();
  }

  testing::RecordingDialogs dialogs;
  FakeAudioSystem audio;
};

TEST_F(SoundManagerTest, ElevenPlaysUseTheTenVoicesInTurnAtMinus15DecibelsAndSlotsAreReplaced) {
  SoundManager manager(dialogs);
  ASSERT_TRUE(InitAndLoad(manager));
  audio.RecordPlayedSlots(true);
  const Sound* shot = manager.GetSound(0);
  for (int i = 0; i < 11; ++i) manager.Play(0);
  manager.Play(7);  // no sound in slot 7: nothing plays
  manager.Play(1);
  const auto& plays = audio.log->plays;
  ASSERT_EQ(plays.size(), 12u);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(plays[i].voice, shot->GetVoice(i % 10)) << i;
  EXPECT_EQ(plays[11].voice, manager.GetSound(1)->GetVoice(0));
  EXPECT_NE(plays[0].buffer, plays[11].buffer);
  // -15 dB (sound.openal_wave_output measures it in the mix) with the player's volume on top,
  audio.SetEffectGain(0.5f);  // 6 dB further down
  manager.Play(1);
  EXPECT_NEAR(audio.log->plays.back().gain, 0.088914f, 1e-5f);
  EXPECT_EQ(audio.log->voicesCreated, 20u);
  EXPECT_EQ(audio.GetPlayedSlots(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));
  EXPECT_TRUE(Messages().empty());
  manager.RegisterSound(0, kBlast);  // registered again: its sound replaced
  EXPECT_EQ(audio.log->voicesReleased, 10u);
  EXPECT_TRUE(manager.LoadAllSounds());
  manager.Play(0);
  const auto& log = *audio.log;
  ASSERT_EQ(plays.size(), 14u);
  EXPECT_EQ(log.buffers[plays.back().buffer - 1].bytes, log.buffers[1].bytes);  // the blast's
}

// Each failing step shows its message with the caption "Error" and stops the set-up there
// (a refused output format only says so); nothing is left unreleased. For a sound file,
// stderr names the file and a reason a player can act on; no source file, line or result code.
TEST_F(SoundManagerTest, EachFailingStepShowsItsMessageAndStopsThere) {
  const std::string adpcm =
      WriteTemp("adpcm.wav", Wave({Chunk("fmt ", Concat({FormatBody(2, 1, 8000, 4), Bytes{0, 0}})),
                                   Chunk("data", Ramp(64))}));
  const std::string empty = WriteTemp("empty.wav", Wave({PcmFormat16Mono(), Chunk("data", {})}));
  const std::string cut =
      WriteTemp("cut.wav", Concat({ChunkHeader("RIFF", 1000), Bytes{'W', 'A', 'V', 'E'},
                                   PcmFormat16Mono(), ChunkHeader("data", 100), Ramp(9)}));
  const std::string cutWhy =
      "the file ends before the sample data its data chunk declares; the rest of the sound is "
      "silent";
  enum Stop { AtInit, AtLoad, Never };
  const struct {
    FakeAudioFaults faults;
    std::string file;
    Stop stop;
    const char* text;       // "": no message
    std::string said = "";  // the reason on stderr; "": not checked
  } cases[] = {
      {{.openDevice = true}, kShot, AtInit, "IDirectSound8インターフェイスの取得に失敗"},
      {{.claim = true}, kShot, AtInit, "協調レベルの設定に失敗"},
      {{.createMix = true}, kShot, AtInit, "プライマリ・バッファの作成に失敗"},
      {{.setOutputFormat = true}, kShot, Never, "プライマリ・バッファのフォーマット設定に失敗"},
      {{}, "./sound/missing.wav", AtLoad, "Waveファイルのオープンに失敗", "no such file"},
      {{.createBuffer = true}, kShot, AtLoad, "バッファの作成に失敗"},
      {{}, adpcm, AtLoad, "バッファの作成に失敗", "format 2 is not PCM; only PCM sounds play"},
      {{}, empty, AtLoad, "バッファの作成に失敗"},
      {{}, cut, Never, "", cutWhy},
      {{.voicesBeforeFailure = 0},
       kShot,
       AtLoad,
       "IDirectSoundBuffer8インターフェイスの取得に失敗"},
  };
  for (const auto& c : cases) {
    FakeAudioSystem faulty;
    *faulty.faults = c.faults;
    {
      SoundManager manager(dialogs);
      EXPECT_EQ(manager.Init(&faulty), c.stop != AtInit) << c.text;
      manager.RegisterSound(0, c.file.c_str());
      manager.RegisterSound(1, kBlast);
      ::testing::internal::CaptureStderr();
      if (c.stop != AtInit) {
        EXPECT_EQ(manager.LoadAllSounds(), c.stop == Never) << c.text;
      }
      const std::string printed = ::testing::internal::GetCapturedStderr();
      const std::string why = *c.text ? c.text + std::string(": ") + c.said : c.said;
      EXPECT_TRUE(c.said.empty() || printed == "vorlith: " + c.file + ": " + why + "\n") << printed;
      EXPECT_EQ(Messages(), *c.text ? Texts{c.text} : Texts{});
      if (c.stop == AtLoad) {
        EXPECT_EQ(manager.GetSound(1)->GetVoice(0), 0u);  // never tried
      }
      manager.Play(0);
      EXPECT_EQ(faulty.log->plays.size(), c.stop == Never ? 1u : 0u) << c.text;
    }
    EXPECT_EQ(faulty.log->voicesCreated, faulty.log->voicesReleased);
    for (const auto& buffer : faulty.log->buffers) EXPECT_TRUE(buffer.released);
  }
}

TEST_F(SoundManagerTest, FailedDuplicatesLeaveSilentVoicesInTheCycle) {
  audio.faults->voicesBeforeFailure = 3;
  SoundManager manager(dialogs);
  ASSERT_TRUE(InitAndLoad(manager));
  EXPECT_TRUE(Messages().empty());
  for (int i = 0; i < 10; ++i) manager.Play(0);
  EXPECT_EQ(audio.log->plays.size(), 3u);
  EXPECT_EQ(manager.GetSound(0)->GetNextBuffer(), 0);
}

TEST_F(SoundManagerTest, ReleasingTwiceOrInAnyOrderReleasesEverythingOnce) {
  using Steps = std::vector<void (SoundManager::*)()>;
  const Steps orders[] = {
      {&SoundManager::ReleaseAllSounds, &SoundManager::ReleaseAllSounds,
       &SoundManager::ReleaseDevice, &SoundManager::ReleaseDevice},
      {&SoundManager::ReleaseDevice, &SoundManager::ReleaseAllSounds},  // not to a closed device
      {},  // the destructor lets go of everything
  };
  for (const Steps& steps : orders) {
    FakeAudioSystem fresh;
    auto manager = std::make_unique<SoundManager>(dialogs);
    ASSERT_TRUE(manager->Init(&fresh));
    manager->RegisterSound(0, kShot);
    ASSERT_TRUE(manager->LoadAllSounds());
    for (auto step : steps) ((*manager).*step)();
    if (!steps.empty()) manager->Play(0);  // released voices play nothing
    manager.reset();
    const FakeAudioLog& log = *fresh.log;
    EXPECT_EQ(std::tuple(log.plays.size(), log.voicesReleased, log.stops,
                         log.buffers.at(0).released, log.devicesClosed),
              std::tuple(0u, 10u, 10u, true, 1u))
        << steps.size();
  }
}

// Stage after stage gets a device of its own whose buffers and voices go with it, while the
// output behind them is opened once; one asked for while another is out is a device of its
// own.
TEST(KeptAudioSystemTest, EachStageReleasesItsOwnSoundsWhileTheOutputStaysOpen) {
  auto silent = std::make_unique<FakeAudioSystem>();
  const FakeAudioLog& log = *silent->log;
  KeptAudioSystem kept(std::move(silent));
  const PcmFormat format{1, 16, 22050};
  const std::int16_t samples[4] = {};
  for (int stage = 0; stage < 3; ++stage) {
    SCOPED_TRACE(stage);
    auto device = kept.OpenDevice();
    ASSERT_TRUE(device);
    EXPECT_TRUE(device->Claim() && device->CreateMix() && device->SetOutputFormat(44100, 2, 16));
    const std::uint32_t buffer = device->CreateBuffer(format, samples, sizeof samples);
    const std::uint32_t voice = device->CreateVoice(buffer);
    device->Play(voice);
    device->CreateVoice(buffer);
    device->ReleaseVoice(voice);
    device->ReleaseVoice(voice);  // twice: once released
    auto meanwhile = kept.OpenDevice();
    ASSERT_TRUE(meanwhile);
    EXPECT_EQ(log.devicesOpened, 2u + stage);
    meanwhile.reset();
    device.reset();
    EXPECT_EQ(std::tuple(log.devicesClosed, log.voicesCreated, log.voicesReleased),
              std::tuple(1u + stage, 2u * (stage + 1), 2u * (stage + 1)));
    ASSERT_EQ(log.buffers.size(), 1u);  // a released buffer's record is used again
    EXPECT_TRUE(log.buffers.back().released);
  }
  EXPECT_EQ(log.plays.size(), 3u);
}

// Sound through OpenAL Soft. The null backend runs in every test run; the recording of the
// mix to a file and the machine without an output device run as their own CTest entries
// (tests/cmake/sound.cmake), because OpenAL Soft reads its configuration once per process.

// Waits (up to a few seconds of wall time) until the voice has finished.
bool WaitUntilFinished(AudioDevice& device, std::uint32_t voice) {
  for (int i = 0; i < 500 && device.IsPlaying(voice); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return !device.IsPlaying(voice);
}

// The samples of a 16-bit PCM or 32-bit float WAVE file, channels interleaved.
std::vector<float> ReadSamples(const char* path, int& channels) {
  WaveFile wave;
  if (Failed(wave.Open(path))) return {};
  channels = wave.GetFormat()->nChannels;
  std::vector<std::uint8_t> bytes(wave.GetSize());
  std::uint32_t got = 0;
  if (Failed(wave.Read(bytes.data(), wave.GetSize(), &got))) return {};
  const bool floats = wave.GetFormat()->wBitsPerSample == 32;
  std::vector<float> samples(got / (floats ? 4 : 2));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (floats) std::memcpy(&samples[i], &bytes[4 * i], 4);
    if (!floats)
      samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8) / 32768.0f;
  }
  return samples;
}

// OpenAL Soft's backend is the silent one (TestEnvironment.cpp) unless the run was registered
// with an output of its own.
class OpenAlAudioTest : public ::testing::Test {
 protected:
  // The shot loaded into slot 0 of a manager on this audio system.
  void LoadShot(SoundManager& manager) {
    ASSERT_TRUE(manager.Init(&audio));
    manager.RegisterSound(0, kShot);
    ASSERT_TRUE(manager.LoadAllSounds());
  }
  testing::RecordingDialogs dialogs;
  OpenAlAudioSystem audio{std::make_unique<SilentAudioSystem>()};
};

// The cycling of voices is SoundManagerTest's; here a real voice plays. While the game is
// paused the device mixes nothing (its backend catches up on lost time when it runs): the
// voice stays where it was, past twice its length, and finishes once the pause ends; a
// finished voice plays again, and releasing stops it.
TEST_F(OpenAlAudioTest, AVoiceIsHeldThroughAPauseEndsStartsAgainAndReleasingStopsIt) {
  SoundManager manager(dialogs);
  ASSERT_NO_FATAL_FAILURE(LoadShot(manager));
  AudioDevice& device = *manager.GetDevice();
  const std::uint32_t voice = manager.GetSound(0)->GetVoice(0);
  manager.Play(0);
  EXPECT_TRUE(device.IsPlaying(voice));
  audio.SetPaused(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));  // the shot lasts 0.12 s
  EXPECT_TRUE(device.IsPlaying(voice));
  audio.SetPaused(false);
  EXPECT_TRUE(WaitUntilFinished(device, voice));
  device.Play(voice);
  EXPECT_TRUE(device.IsPlaying(voice));
  manager.ReleaseAllSounds();
  EXPECT_FALSE(device.IsPlaying(voice));
  manager.ReleaseDevice();
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(OpenAlAudioTest, DeviceRefusesWhatItCannotPlay) {
  auto device = audio.OpenDevice();
  ASSERT_TRUE(device->Claim() && device->CreateMix() && device->SetOutputFormat(44100, 2, 16));
  const std::uint8_t bytes[12] = {};
  EXPECT_EQ(device->CreateBuffer({1, 24, 44100}, bytes, 12), 0u);
  EXPECT_EQ(device->CreateBuffer({3, 16, 44100}, bytes, 12), 0u);
  EXPECT_EQ(device->CreateBuffer({2, 16, 44100}, bytes, 3), 0u);           // less than a frame
  std::uint32_t buffer = device->CreateBuffer({2, 16, 22050}, bytes, 11);  // 2 frames kept
  ASSERT_NE(buffer, 0u);
  EXPECT_NE(device->CreateBuffer({1, 8, 8000}, bytes, 5), 0u);
  EXPECT_EQ(device->CreateVoice(buffer + 1000), 0u);
  std::uint32_t voice = device->CreateVoice(buffer);
  ASSERT_NE(voice, 0u);
  device->ReleaseVoice(voice);
  device->ReleaseVoice(voice);
  device->Play(voice);  // a released voice is ignored
  device->ReleaseBuffer(buffer);
  EXPECT_EQ(device->CreateVoice(buffer), 0u);
}

// Registered with ALSOFT_CONF recording the mix into VORLITH_WAVE_OUTPUT.
TEST_F(OpenAlAudioTest, WaveOutputHasTheShotAtMinus15Decibels) {
  const char* output = std::getenv("VORLITH_WAVE_OUTPUT");
  if (!output) GTEST_SKIP() << "needs ALSOFT_CONF with the wave backend and VORLITH_WAVE_OUTPUT";
  std::remove(output);
  {
    SoundManager manager(dialogs);
    ASSERT_NO_FATAL_FAILURE(LoadShot(manager));
    manager.Play(0);
    ASSERT_TRUE(WaitUntilFinished(*manager.GetDevice(), manager.GetSound(0)->GetVoice(0)));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }  // closing the device finishes the file
  int sourceChannels = 0, mixChannels = 0;
  const std::vector<float> source = ReadSamples(kShot, sourceChannels);
  const std::vector<float> mix = ReadSamples(output, mixChannels);
  ASSERT_EQ(std::pair(sourceChannels, mixChannels), std::pair(1, 2));
  const std::size_t frames = mix.size() / 2;
  ASSERT_GT(frames, source.size());

  // The effect starts where the mix first leaves silence: the best fit of the effect scaled
  // into both channels, a few samples around there.
  std::size_t first = 0;
  while (first < frames && std::fabs(mix[first * 2]) < 1e-7f) ++first;
  double bestGain = 0.0, bestError = 1e30;
  for (std::size_t start = first > 16 ? first - 16 : 0;
       start <= first + 16 && start + source.size() <= frames; ++start) {
    double cross = 0.0, energy = 0.0, error = 0.0;
    for (std::size_t i = 0; i < source.size(); ++i) {
      cross += mix[(start + i) * 2] * source[i];
      energy += static_cast<double>(source[i]) * source[i];
    }
    const double gain = cross / energy;
    for (std::size_t i = 0; i < 2 * source.size(); ++i)
      error += std::pow(mix[start * 2 + i] - gain * source[i / 2], 2);
    error /= 2.0 * gain * gain * energy;
    if (error < bestError) std::tie(bestError, bestGain) = std::pair(error, gain);
  }
  EXPECT_NEAR(20.0 * std::log10(bestGain), -15.0, 0.05);
  EXPECT_LT(bestError, 1e-4) << "the mix is not the effect scaled";
}

// Registered with an OpenAL Soft configuration whose only output cannot be opened.
TEST_F(OpenAlAudioTest, WithoutAnOutputDeviceTheGamePlaysSilently) {
  if (!std::getenv("VORLITH_EXPECT_NO_AUDIO_OUTPUT")) GTEST_SKIP() << "needs no usable output";
  audio.RecordPlayedSlots(true);
  ::testing::internal::CaptureStderr();
  for (int stage = 0; stage < 2; ++stage) {
    SoundManager manager(dialogs);
    ASSERT_NO_FATAL_FAILURE(LoadShot(manager));
    manager.Play(0);
  }
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::string line =
      "vorlith: no audio output device could be opened; playing without sound\n";
  ASSERT_NE(err.find(line), std::string::npos) << err;
  EXPECT_EQ(err.find(line), err.rfind(line)) << "said more than once";
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(audio.GetPlayedSlots(), (std::vector<int>{0, 0}));
}

// Sound through SDL's audio output (the Windows build's): the software mixer, the mix SDL's
// disk driver writes to a file, and a machine without an output.
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
    EXPECT_TRUE(WaitUntilFinished(*device, voice));
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
