// Sound through OpenAL Soft. The null backend runs in every test run; the recording of the
// mix to a file and the machine without an output device run as their own CTest entries
// (tests/cmake/sound.cmake), because OpenAL Soft reads its configuration once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/Dialogs.h"
#include "platform/OpenAlAudioSystem.h"
#include "sound/Sound.h"
#include "sound/SoundManager.h"
#include "sound/WaveFile.h"

namespace vorlith {
namespace {

constexpr const char* kShot = VORLITH_DATA_DIR "/sound/se_sad04.wav";

class RecordingDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    shown.push_back(caption + ": " + text);
  }
  std::vector<std::string> shown;
};

// OpenAL Soft's silent backend, chosen before the library first starts in this process.
void UseNullBackend() { setenv("ALSOFT_DRIVERS", "null", 1); }

bool EnvironmentSays(const char* name, const char* value) {
  const char* set = std::getenv(name);
  return set && std::strcmp(set, value) == 0;
}

// Waits (up to a few seconds of wall time) until the voice has finished.
bool WaitUntilFinished(AudioDevice& device, std::uint32_t voice) {
  for (int i = 0; i < 300; ++i) {
    if (!device.IsPlaying(voice)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// The samples of a WAVE file as floats, channels interleaved.
std::vector<float> ReadSamples(const char* path, int& channels) {
  WaveFile wave;
  if (Failed(wave.Open(path))) return {};
  const WaveFormatEx& format = *wave.GetFormat();
  channels = format.nChannels;
  std::vector<std::uint8_t> bytes(wave.GetSize());
  std::uint32_t got = 0;
  if (Failed(wave.Read(bytes.data(), wave.GetSize(), &got))) return {};
  std::vector<float> samples;
  if (format.wBitsPerSample == 16) {
    for (std::size_t i = 0; i + 1 < got; i += 2) {
      samples.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8) / 32768.0f);
    }
  } else if (format.wBitsPerSample == 32) {  // the recorder writes floats
    samples.resize(got / 4);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 4);
  }
  return samples;
}

TEST(OpenAlAudioTest, VoicesPlayOnceAndFinishOnTheNullBackend) {
  UseNullBackend();
  RecordingDialogs dialogs;
  SetDialogs(&dialogs);
  OpenAlAudioSystem audio;
  SoundManager manager;
  ASSERT_TRUE(manager.Init(&audio));
  manager.RegisterSound(0, kShot);
  ASSERT_TRUE(manager.LoadAllSounds());
  AudioDevice& device = *manager.GetDevice();
  const Sound& shot = *manager.GetSound(0);
  for (int i = 0; i < 10; ++i) ASSERT_NE(shot.GetVoice(i), 0u);
  manager.Play(0);
  EXPECT_TRUE(device.IsPlaying(shot.GetVoice(0)));
  EXPECT_FALSE(device.IsPlaying(shot.GetVoice(1)));
  EXPECT_TRUE(WaitUntilFinished(device, shot.GetVoice(0)));
  for (int i = 0; i < 10; ++i) manager.Play(0);  // the finished voice starts again
  EXPECT_TRUE(device.IsPlaying(shot.GetVoice(0)));
  EXPECT_TRUE(device.IsPlaying(shot.GetVoice(9)));
  manager.ReleaseAllSounds();
  EXPECT_FALSE(device.IsPlaying(shot.GetVoice(0)));
  manager.ReleaseDevice();
  manager.ReleaseDevice();
  EXPECT_TRUE(dialogs.shown.empty());
  SetDialogs(nullptr);
}

TEST(OpenAlAudioTest, DeviceRefusesWhatItCannotPlay) {
  UseNullBackend();
  OpenAlAudioSystem audio;
  auto device = audio.OpenDevice();
  ASSERT_TRUE(device->Claim());
  ASSERT_TRUE(device->CreateMix());
  EXPECT_TRUE(device->SetOutputFormat(44100, 2, 16));
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
TEST(OpenAlWaveOutputTest, ShotSoundsInTheMixAtMinus15Decibels) {
  const char* output = std::getenv("VORLITH_WAVE_OUTPUT");
  if (!output) GTEST_SKIP() << "needs ALSOFT_CONF with the wave backend and VORLITH_WAVE_OUTPUT";
  std::remove(output);
  {
    OpenAlAudioSystem audio;
    SoundManager manager;
    ASSERT_TRUE(manager.Init(&audio));
    manager.RegisterSound(0, kShot);
    ASSERT_TRUE(manager.LoadAllSounds());
    manager.Play(0);
    ASSERT_TRUE(WaitUntilFinished(*manager.GetDevice(), manager.GetSound(0)->GetVoice(0)));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    manager.ReleaseAllSounds();
    manager.ReleaseDevice();  // closing the device finishes the file
  }
  int sourceChannels = 0;
  int mixChannels = 0;
  const std::vector<float> source = ReadSamples(kShot, sourceChannels);
  const std::vector<float> mix = ReadSamples(output, mixChannels);
  ASSERT_EQ(sourceChannels, 1);
  ASSERT_EQ(mixChannels, 2);
  const std::size_t frames = mix.size() / 2;
  ASSERT_GT(frames, source.size());

  // The effect starts where the mix first leaves silence; search a few samples around it.
  std::size_t first = 0;
  while (first < frames && std::fabs(mix[first * 2]) < 1e-7f) ++first;
  ASSERT_LT(first, frames);
  double bestGain = 0.0;
  double bestError = 1e30;
  for (std::size_t start = first > 16 ? first - 16 : 0; start <= first + 16; ++start) {
    if (start + source.size() > frames) break;
    double cross = 0.0, energy = 0.0;
    for (std::size_t i = 0; i < source.size(); ++i) {
      cross += mix[(start + i) * 2] * source[i];
      energy += static_cast<double>(source[i]) * source[i];
    }
    double gain = cross / energy;
    double error = 0.0;
    for (std::size_t i = 0; i < source.size(); ++i) {
      double left = mix[(start + i) * 2] - gain * source[i];
      double right = mix[(start + i) * 2 + 1] - gain * source[i];
      error += left * left + right * right;
    }
    error /= 2.0 * gain * gain * energy;
    if (error < bestError) {
      bestError = error;
      bestGain = gain;
    }
  }
  EXPECT_NEAR(20.0 * std::log10(bestGain), -15.0, 0.05);
  EXPECT_LT(bestError, 1e-4) << "the mix is not the effect scaled";
}

// Registered with an OpenAL Soft configuration whose only output cannot be opened.
TEST(OpenAlFallbackTest, WithoutAnOutputDeviceTheGamePlaysSilently) {
  if (!EnvironmentSays("VORLITH_EXPECT_NO_AUDIO_OUTPUT", "1")) {
    GTEST_SKIP() << "needs an OpenAL Soft configuration without a usable output";
  }
  RecordingDialogs dialogs;
  SetDialogs(&dialogs);
  OpenAlAudioSystem audio;
  audio.RecordPlayedSlots(true);
  testing::internal::CaptureStderr();
  for (int stage = 0; stage < 2; ++stage) {
    SoundManager manager;
    ASSERT_TRUE(manager.Init(&audio));
    manager.RegisterSound(0, kShot);
    ASSERT_TRUE(manager.LoadAllSounds());
    manager.Play(0);
    manager.ReleaseAllSounds();
    manager.ReleaseDevice();
  }
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string line =
      "vorlith: no audio output device could be opened; playing without sound\n";
  ASSERT_NE(err.find(line), std::string::npos) << err;
  EXPECT_EQ(err.find(line), err.rfind(line)) << "said more than once";
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(audio.GetPlayedSlots(), (std::vector<int>{0, 0}));
  SetDialogs(nullptr);
}

}  // namespace
}  // namespace vorlith
