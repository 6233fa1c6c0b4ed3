#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "FakeAudioSystem.h"
#include "sound/KeptAudioSystem.h"

namespace vorlith {
namespace {

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
    EXPECT_EQ(log.devicesClosed, 1u + stage);
    EXPECT_EQ(log.voicesCreated, 2u * (stage + 1));
    EXPECT_EQ(log.voicesReleased, log.voicesCreated);
    ASSERT_EQ(log.buffers.size(), 1u);  // a released buffer's record is used again
    EXPECT_TRUE(log.buffers.back().released);
  }
  EXPECT_EQ(log.plays.size(), 3u);
}

}  // namespace
}  // namespace vorlith
