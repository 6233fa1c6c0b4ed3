#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "FakeAudioSystem.h"
#include "TestPlatform.h"
#include "WaveBytes.h"
#include "sound/KeptAudioSystem.h"
#include "sound/Sound.h"
#include "sound/SoundManager.h"

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

}  // namespace
}  // namespace vorlith
