#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "WaveBytes.h"
#include "platform/Dialogs.h"
#include "platform/SilentAudioSystem.h"
#include "sound/Sound.h"
#include "sound/SoundManager.h"

namespace vorlith {
namespace {

using namespace vorlith::test;

constexpr const char* kShot = VORLITH_DATA_DIR "/sound/se_sad04.wav";
constexpr const char* kBlast = VORLITH_DATA_DIR "/sound/se_sob02.wav";

class RecordingDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

class SoundManagerTest : public testing::Test {
 protected:
  void SetUp() override { SetDialogs(&dialogs); }
  void TearDown() override { SetDialogs(nullptr); }

  // Shown texts, all of which must carry the caption "Error".
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& [caption, text] : dialogs.shown) {
      EXPECT_EQ(caption, "Error");
      texts.push_back(text);
    }
    return texts;
  }

  bool InitAndLoad(SoundManager& manager) {
    if (!manager.Init(&audio)) return false;
    manager.RegisterSound(0, kShot);
    manager.RegisterSound(1, kBlast);
    return manager.LoadAllSounds();
  }

  RecordingDialogs dialogs;
  SilentAudioSystem audio;
};

using Texts = std::vector<std::string>;

TEST_F(SoundManagerTest, ElevenPlaysUseTheTenVoicesInTurnAtMinus15Decibels) {
  SoundManager manager;
  ASSERT_TRUE(InitAndLoad(manager));
  const Sound* shot = manager.GetSound(0);
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(shot->GetNextBuffer(), i % 10);
    manager.Play(0);
  }
  manager.Play(1);
  const auto& plays = audio.GetLog().plays;
  ASSERT_EQ(plays.size(), 12u);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(plays[i].voice, shot->GetVoice(i % 10)) << i;
  EXPECT_EQ(plays[11].voice, manager.GetSound(1)->GetVoice(0));
  EXPECT_NEAR(plays[0].gain, 0.17783f, 1e-4f);
  EXPECT_NE(plays[0].buffer, plays[11].buffer);
  EXPECT_EQ(audio.GetLog().voicesCreated, 20u);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(SoundManagerTest, EachFailingDeviceStepShowsItsMessage) {
  struct Case {
    bool SilentAudioFaults::*step;
    bool initResult;
    const char* text;
  };
  const Case cases[] = {
      {&SilentAudioFaults::openDevice, false, "IDirectSound8インターフェイスの取得に失敗"},
      {&SilentAudioFaults::claim, false, "協調レベルの設定に失敗"},
      {&SilentAudioFaults::createMix, false, "プライマリ・バッファの作成に失敗"},
      {&SilentAudioFaults::setOutputFormat, true, "プライマリ・バッファのフォーマット設定に失敗"},
  };
  for (const Case& c : cases) {
    SilentAudioSystem faulty;
    faulty.Faults().*c.step = true;
    dialogs.shown.clear();
    SoundManager manager;
    EXPECT_EQ(manager.Init(&faulty), c.initResult) << c.text;
    EXPECT_EQ(Messages(), Texts{c.text});
    if (c.initResult) {  // a refused format still plays
      manager.RegisterSound(0, kShot);
      EXPECT_TRUE(manager.LoadAllSounds());
      manager.Play(0);
      EXPECT_EQ(faulty.GetLog().plays.size(), 1u);
    }
  }
}

TEST_F(SoundManagerTest, MissingFileStopsTheLoadAfterTheSlotsBeforeIt) {
  SoundManager manager;
  ASSERT_TRUE(manager.Init(&audio));
  manager.RegisterSound(2, kBlast);
  manager.RegisterSound(1, "./sound/missing.wav");
  manager.RegisterSound(0, kShot);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(manager.LoadAllSounds());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("FindResource"), std::string::npos);
  EXPECT_EQ(Messages(), Texts{"Waveファイルのオープンに失敗"});
  EXPECT_NE(manager.GetSound(0)->GetVoice(0), 0u);
  EXPECT_EQ(manager.GetSound(2)->GetVoice(0), 0u);  // never tried
}

TEST_F(SoundManagerTest, BufferAndVoiceFailuresShowTheirMessages) {
  const std::string adpcm =
      WriteTemp("adpcm.wav", Wave({Chunk("fmt ", Concat({FormatBody(2, 1, 8000, 4), Bytes{0, 0}})),
                                   Chunk("data", Ramp(64))}));
  const std::string fiveChannels = WriteTemp(
      "five.wav", Wave({Chunk("fmt ", FormatBody(1, 5, 8000, 8)), Chunk("data", Ramp(50))}));
  const std::string empty =
      WriteTemp("empty_data.wav", Wave({PcmFormat16Mono(), Chunk("data", Bytes())}));
  struct Case {
    std::string file;
    SilentAudioFaults faults;
    const char* text;
  };
  const Case cases[] = {
      {kShot, {.createBuffer = true}, "バッファの作成に失敗"},
      {adpcm, {}, "バッファの作成に失敗"},
      {fiveChannels, {}, "バッファの作成に失敗"},
      {empty, {}, "バッファの作成に失敗"},
      {kShot, {.voicesBeforeFailure = 0}, "IDirectSoundBuffer8インターフェイスの取得に失敗"},
  };
  for (const Case& c : cases) {
    SilentAudioSystem faulty;
    faulty.Faults() = c.faults;
    dialogs.shown.clear();
    SoundManager manager;
    ASSERT_TRUE(manager.Init(&faulty));
    manager.RegisterSound(0, c.file.c_str());
    EXPECT_FALSE(manager.LoadAllSounds()) << c.file;
    EXPECT_EQ(Messages(), Texts{c.text}) << c.file;
    manager.ReleaseAllSounds();
    manager.ReleaseDevice();
    EXPECT_EQ(faulty.GetLog().voicesCreated, faulty.GetLog().voicesReleased);
    for (const auto& buffer : faulty.GetLog().buffers) EXPECT_TRUE(buffer.released);
  }
}

TEST_F(SoundManagerTest, FailedDuplicatesLeaveSilentVoicesInTheCycle) {
  audio.Faults().voicesBeforeFailure = 3;
  SoundManager manager;
  ASSERT_TRUE(InitAndLoad(manager));
  EXPECT_TRUE(Messages().empty());
  for (int i = 0; i < 10; ++i) manager.Play(0);
  EXPECT_EQ(audio.GetLog().plays.size(), 3u);
  EXPECT_EQ(manager.GetSound(0)->GetNextBuffer(), 0);
}

TEST_F(SoundManagerTest, ReleasingTwiceReleasesOnce) {
  SoundManager manager;
  ASSERT_TRUE(InitAndLoad(manager));
  manager.ReleaseAllSounds();
  manager.ReleaseAllSounds();
  EXPECT_EQ(audio.GetLog().voicesReleased, 20u);
  EXPECT_EQ(audio.GetLog().stops, 20u);
  manager.ReleaseDevice();
  manager.ReleaseDevice();
  EXPECT_EQ(audio.GetLog().devicesClosed, 1u);
  manager.Play(0);  // released voices play nothing
  EXPECT_TRUE(audio.GetLog().plays.empty());
}

TEST_F(SoundManagerTest, DeviceReleasedFirstTakesTheSoundsWithIt) {
  {
    SoundManager manager;
    ASSERT_TRUE(InitAndLoad(manager));
    manager.ReleaseDevice();
    manager.ReleaseAllSounds();  // must not reach the closed device
  }
  {
    SoundManager manager;  // nothing released by the owner
    ASSERT_TRUE(InitAndLoad(manager));
  }
  EXPECT_EQ(audio.GetLog().voicesReleased, 40u);
  EXPECT_EQ(audio.GetLog().devicesClosed, 2u);
}

TEST_F(SoundManagerTest, RegisteringASlotAgainReplacesItsSound) {
  SoundManager manager;
  ASSERT_TRUE(InitAndLoad(manager));
  manager.RegisterSound(0, kBlast);
  EXPECT_EQ(audio.GetLog().voicesReleased, 10u);
  EXPECT_TRUE(manager.LoadAllSounds());
  manager.Play(0);
  ASSERT_EQ(audio.GetLog().plays.size(), 1u);
  EXPECT_EQ(audio.GetLog().buffers[audio.GetLog().plays[0].buffer - 1].bytes,
            audio.GetLog().buffers[1].bytes);  // the blast's length
}

TEST_F(SoundManagerTest, PlayedSlotsAreRecordedOnRequest) {
  SoundManager manager;
  ASSERT_TRUE(InitAndLoad(manager));
  manager.Play(0);
  EXPECT_TRUE(audio.GetPlayedSlots().empty());
  audio.RecordPlayedSlots(true);
  manager.Play(1);
  manager.Play(7);  // no sound in slot 7: nothing plays
  manager.Play(0);
  EXPECT_EQ(audio.GetPlayedSlots(), (std::vector<int>{1, 0}));
  audio.ClearPlayedSlots();
  EXPECT_TRUE(audio.GetPlayedSlots().empty());
  EXPECT_EQ(audio.GetLog().plays.size(), 3u);
}

TEST_F(SoundManagerTest, EmptyManagerLoadsAndVolumeIsTheDecibelGain) {
  SoundManager manager;
  ASSERT_TRUE(manager.Init(&audio));
  EXPECT_TRUE(manager.LoadAllSounds());
  EXPECT_NEAR(Sound::GainOf(-1500), std::pow(10.0, -0.75), 1e-6);
  EXPECT_FLOAT_EQ(Sound::GainOf(0), 1.0f);
}

}  // namespace
}  // namespace vorlith
