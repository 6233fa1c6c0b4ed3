// Files named twice, exit statuses, escaped messages, window sizes at the ends of int, and
// memory that must not grow with play. (Writes that fail are e2e_output_failures'.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <fstream>

#include "app/DistinctFiles.h"
#include "app/ExitStatus.h"
#include "base/Utf8.h"
#include "platform/FileIdentity.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/headless/StderrDialogs.h"
#include "sound/Sound.h"

namespace vorlith {
namespace {

TEST(ReliabilityTest, AFileNamedTwiceIsFoundByIdentityNotSpelling) {
  const std::string dir = testing::TempDir() + "/identity";
  mkdir(dir.c_str(), 0700);
  std::ofstream(dir + "/a.replay") << "vorlith-replay 1\n";
  for (const char* name : {"/hard", "/soft", "/dangling"}) unlink((dir + name).c_str());
  ASSERT_EQ(link((dir + "/a.replay").c_str(), (dir + "/hard").c_str()), 0);
  ASSERT_EQ(symlink("a.replay", (dir + "/soft").c_str()), 0);
  ASSERT_EQ(symlink("new.jsonl", (dir + "/dangling").c_str()), 0);
  mkdir((dir + "/sub").c_str(), 0700);
  using Roles = std::vector<std::pair<std::string, std::string>>;
  const std::pair<Roles, bool> cases[] = {
      {{{"--replay", dir + "/a.replay"}, {"--trace", dir + "/sub/../a.replay"}}, false},
      {{{"--replay", dir + "/a.replay"}, {"--record", dir + "/hard"}}, false},
      {{{"--replay", dir + "/soft"}, {"--trace", dir + "/a.replay"}}, false},
      {{{"--trace", dir + "/new.jsonl"}, {"--record", dir + "/sub/../new.jsonl"}}, false},
      {{{"--trace", dir + "/dangling"}, {"--record", dir + "/new.jsonl"}}, false},
      {{{"--screenshot", dir + "/x.png"}, {"--screenshot", dir + "/./x.png"}}, false},
      {{{"--trace", "/dev/null"}, {"--record", "/dev/null"}}, true},
      {{{"--replay", dir + "/a.replay"}, {"--trace", dir + "/sub/a.replay"}}, true},
  };
  for (const auto& [roles, distinct] : cases) {
    std::string error;
    EXPECT_EQ(CheckFilesDistinct(roles, error), distinct) << roles[1].second;
    if (distinct) continue;
    EXPECT_NE(error.find("names the same file as " + roles[0].first), std::string::npos);
  }
  // One inode on two devices, and two inodes on one device: two files (one inode on one device
  // is the hard link's row).
  EXPECT_FALSE(FileIdentity::Existing(8, 12) == FileIdentity::Existing(9, 12));
  EXPECT_FALSE(FileIdentity::Existing(8, 12) == FileIdentity::Existing(8, 13));
}

// A replay changed under the run is a usage error; an output not written whole fails a run
// that ended well (status 3) and leaves a failed run's own status.
TEST(ReliabilityTest, TheExitStatusNamesWhatFailed) {
  // The run's status, whether the outputs were written whole, whether the replay changed; the
  // exit status.
  const int cases[][4] = {{0, 1, 0, 0}, {0, 0, 0, 3}, {1, 0, 0, 1},
                          {1, 1, 0, 1}, {0, 1, 1, 2}, {0, 0, 1, 2}};
  for (const auto& c : cases)
    EXPECT_EQ(ExitStatusAfterRun(c[0], c[1], c[2]), c[3]) << c[0] << c[1] << c[2];
}

TEST(ReliabilityTest, MessagesEscapeWhatIsNotPrintableUtf8AsInAFailedSoundsName) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain.replay", "plain.replay"},
      {"日本語 é", "日本語 é"},
      {"tab\there\n", "tab\\x09here\\x0a"},
      {"\x7f\xc2\x85", "\\x7f\\xc2\\x85"},             // DEL and a C1 control
      {"\xff\xc3(\xe6\x97", "\\xff\\xc3(\\xe6\\x97"},  // not UTF-8, cut short
      {"\xc3\xc3", "\\xc3\\xc3"},  // a lead byte where a continuation byte belongs
  };
  for (const auto& [bytes, escaped] : cases) EXPECT_EQ(EscapeForMessage(bytes), escaped);
  // A sound that fails is named escaped.
  const std::string path = testing::TempDir() + "/bad\x01.wav";
  std::ofstream(path) << "RIFF, but not a WAVE file";
  SilentAudioSystem audio;
  auto device = audio.OpenDevice();
  StderrDialogs dialogs;
  Sound sound(device.get(), path.c_str(), dialogs);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(sound.Load());
  const std::string printed = testing::internal::GetCapturedStderr();
  const std::string named = testing::TempDir() + "/bad\\x01.wav: Waveファイルのオープンに失敗";
  EXPECT_EQ(printed, "vorlith: " + named +
                         ": not a WAVE file: it does not start with RIFF and WAVE\n" +
                         "Error: Waveファイルのオープンに失敗\n");
}

TEST(ReliabilityTest, WindowSizesAtTheEndsOfIntAreCentredWithoutOverflow) {
  const int sizes[] = {INT_MIN, -1, 0, INT_MAX};
  for (int width : sizes)
    for (int height : sizes) {
      HeadlessWindow window(1280, 1024);
      window.ShowWindowed(width, height);  // UBSan ends the test on an overflow
      int x = 0, y = 0;
      window.GetPosition(x, y);
      EXPECT_EQ(x, static_cast<int>((1280LL - width) / 2));
      EXPECT_EQ(y, static_cast<int>((1024LL - height) / 2));
    }
}

// A headless run opens one device and makes and releases a stage's buffers again and again.
TEST(ReliabilityTest, ASilentDeviceStaysBoundedOverALongRun) {
  auto device = SilentAudioSystem().OpenDevice();
  const PcmFormat format{1, 16, 44100};
  const std::int16_t samples[64] = {};
  for (int stage = 0; stage < 100; ++stage) {
    const std::uint32_t buffers[2] = {device->CreateBuffer(format, samples, sizeof samples),
                                      device->CreateBuffer(format, samples, sizeof samples)};
    ASSERT_EQ(buffers[0] + buffers[1], 3u) << "a released buffer's id is used again";
    const std::uint32_t voice = device->CreateVoice(buffers[stage % 2]);
    EXPECT_NE(voice, 0u);
    device->Play(voice);
    device->ReleaseVoice(voice);
    for (std::uint32_t buffer : buffers) device->ReleaseBuffer(buffer);
    EXPECT_EQ(device->CreateVoice(buffers[0]), 0u);  // released: no voice
  }
}

}  // namespace
}  // namespace vorlith
