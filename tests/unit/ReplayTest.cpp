#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "StageTestKit.h"
#include "TestFiles.h"
#include "replay/FrameReporter.h"
#include "replay/ReplayPadSource.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayScript.h"
#include "replay/ReplayStream.h"
#include "replay/TraceWriter.h"

namespace vorlith {
namespace {

using ::testing::HasSubstr;

bool ParseText(const std::string& text, ReplayScript& script, std::string& error) {
  std::istringstream in(text);
  return script.Parse(in, error);
}

TEST(ReplayScriptTest, RunsCommentsBlankLinesAndTheVersionAndComboLines) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(
      ParseText("vorlith-replay 1\nversion 0.24 1\ncombo 3 12\n# wait on the title\n3 -\n\n"
                "2 ZU   # fire while moving up\n1 VCXZRLDU\r\n",
                script, error))
      << error;
  EXPECT_EQ(std::tuple(script.GetOrigin().version, script.GetOrigin().comboCount,
                       script.GetOrigin().comboTimer, script.GetFrameCount()),
            std::tuple(std::string("0.24"), 3, 12, 6));
  // U and Z in any order; past either end nothing is held.
  const std::vector<ReplayControls> expected = {0, 0, 0, 0x11, 0x11, 0xFF, 0};
  for (int frame = -1; frame <= 6; ++frame)
    EXPECT_EQ(script.GetControls(frame), frame < 0 ? 0 : expected[frame]) << frame;
}

// Each row: a replay's text and the start of its error ("" where it is read). Lines are
// limited to kMaxLineBytes bytes before the '\n' and the frames to kMaxFrames in all. A file
// made under other rules is refused.
TEST(ReplayScriptTest, RefusesMalformedLinesNamingTheLine) {
  const std::string header = "vorlith-replay 1\n";
  const auto line = [](std::size_t bytes) { return "1 Z #" + std::string(bytes - 5, '.') + "\n"; };
  const std::pair<std::string, const char*> cases[] = {
      {"", "line 1: expected the first line"},
      {"vorlith-replay 2\n1 -\n", "line 1: expected the first line"},
      {"\nvorlith-replay 1\n", "line 1: expected the first line"},
      {header + "1 -\n2 Q\n", "line 3: unknown control 'Q'"},
      {header + "2 z\n", "line 2: unknown control 'z'"},
      {header + "1 Z\x01\n", "line 2: unknown control '\\x01'"},
      {header + "0 Z\n", "line 2: frame count '0'"},
      {header + "-4 Z\n", "line 2: frame count '-4'"},
      {header + "99999999999 Z\n", "line 2: frame count '99999999999'"},
      {header + "\xff\xfe Z\n", "line 2: frame count '\\xff\\xfe'"},
      {header + "Z\n", "line 2: expected 'COUNT CONTROLS'"},
      {header + "3 Z X\n", "line 2: unexpected 'X'"},
      {header + "1 Z \x1b[2J\n", "line 2: unexpected '\\x1b[2J'"},
      {header + "1000000000 Z\n", ""},
      {header + "1000000000 Z\n1 Z\n", "line 3: the replay is longer"},
      {header + "2 Z\nversion 0.24 1\n", "line 3: expected 'version GAME RULES' once, before"},
      {header + "1 Z\n" + line(ReplayScript::kMaxLineBytes), ""},
      {header + "1 Z\n" + line(ReplayScript::kMaxLineBytes + 1), "line 3: longer than 4096 bytes"},
      {std::string(1 << 20, '\0'), "line 1: longer than 4096 bytes"},
  };
  for (const auto& [text, expected] : cases) {
    ReplayScript script;
    std::string error;
    EXPECT_EQ(ParseText(text, script, error), *expected == '\0') << text.substr(0, 40);
    EXPECT_EQ(error.rfind(expected, 0), 0u) << "got: " << error;
  }
  std::string error;
  EXPECT_FALSE(ReplayStream().Open("/dev/zero", error));
  EXPECT_EQ(error, "/dev/zero:1: longer than 4096 bytes");
  EXPECT_FALSE(ReplayStream().Open(::testing::TempDir(), error));
  EXPECT_THAT(error, HasSubstr(": is a directory"));
  EXPECT_FALSE(ReplayStream().Open("/nonexistent/r\x07.replay", error));
  EXPECT_EQ(error, "/nonexistent/r\\x07.replay: cannot open: No such file or directory");
  const std::string path = ::testing::TempDir() + "/other-rules.replay";
  std::ofstream(path) << "vorlith-replay 1\nversion 0.31 2\n1 Z\n";
  EXPECT_FALSE(ReplayStream().Open(path, error));
  EXPECT_EQ(error, path + ": made by Vorlith 0.31 (rules 2), which plays differently from this " +
                       "Vorlith " VORLITH_VERSION " (rules 1)");
}

TEST(ReplayRecorderTest, RecordedFramesPlayBackTheSame) {
  const std::string path = ::testing::TempDir() + "/round.replay";
  const std::vector<ReplayControls> frames = {0, 0, 0x10, 0x10, 0x18, 0x40, 0x40, 0x40, 0};
  std::string error;
  {
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.Open(path, error)) << error;
    for (ReplayControls c : frames) recorder.Record(c);
  }  // closing writes the last run
  EXPECT_EQ(testing::ReadWhole(path), "vorlith-replay 1\n2 -\n2 Z\n1 RZ\n3 C\n1 -\n");
  ReplayStream replay;
  ASSERT_TRUE(replay.Open(path, error)) << error;
  ASSERT_EQ(replay.GetFrameCount(), static_cast<std::int64_t>(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(replay.ReadFrame(), frames[i]) << i;
  EXPECT_EQ(replay.ReadFrame(), 0);  // past the end
  EXPECT_EQ(replay.GetError(), "");
}

// A file is checked whole by Open and read again as it plays: a file cut or spoiled in
// between ends the replay where it stops agreeing, and says so.
TEST(ReplayStreamTest, AChangedFileEndsTheReplayThereAndAPipeIsHeldWholeUpToItsLimit) {
  const std::string path = ::testing::TempDir() + "/changed.replay";
  const std::pair<std::string, std::string> cases[] = {
      {"vorlith-replay 1\n2 Z\n", ": ended early (changed while playing)"},
      {"vorlith-replay 1\n2 Z\n1 Q\n", ":3: unknown control 'Q'"},
  };
  for (const auto& [changed, expected] : cases) {
    std::ofstream(path) << "vorlith-replay 1\n2 Z\n3 X\n";
    ReplayStream replay;
    std::string error;
    ASSERT_TRUE(replay.Open(path, error)) << error;
    EXPECT_EQ(replay.GetFrameCount(), 5);
    std::ofstream(path) << changed;
    for (ReplayControls controls : {0x10, 0x10, 0x00}) EXPECT_EQ(replay.ReadFrame(), controls);
    EXPECT_EQ(replay.GetFrameCount(), 2);
    EXPECT_EQ(replay.GetError().substr(0, path.size() + expected.size()), path + expected);
  }
  // What cannot be read twice is held in memory, up to a stated number of changes.
  const std::size_t limit = ReplayStream::kMaxHeldRuns;
  for (std::size_t runs : {std::size_t{3}, limit, limit + 1}) {
    std::string text = "vorlith-replay 1\n";
    for (std::size_t run = 0; run < runs; ++run) text += run % 2 ? "1 -\n" : "2 Z\n";
    std::ofstream(path) << text;
    FILE* pipe = popen(("cat '" + path + "'").c_str(), "r");
    ReplayStream replay;
    std::string error;
    const bool opened = replay.Open("/dev/fd/" + std::to_string(fileno(pipe)), error);
    pclose(pipe);
    ASSERT_EQ(opened, runs <= limit) << error;
    if (!opened) {
      EXPECT_THAT(error, HasSubstr(":" + std::to_string(limit + 2) + ": more than 262144 changes"));
      continue;
    }
    EXPECT_EQ(replay.GetFrameCount(), static_cast<std::int64_t>(runs / 2 * 3 + runs % 2 * 2));
    for (ReplayControls expected : {0x10, 0x10, 0x00, 0x10})
      EXPECT_EQ(replay.ReadFrame(), expected);
  }
}

TEST(TraceWriterTest, OneLineOfJsonPerFrameWrittenAtOnce) {
  TraceFrame frame;
  frame.fps = 10;
  // Nulls on the title, three decimals in play.
  EXPECT_EQ(TraceWriter::Format(frame),
            "{\"frame\":0,\"scene\":1,\"stage\":1,\"score\":0,\"fps\":10,\"time\":null,"
            "\"ship\":null,\"boss\":null,\"enemies\":0,\"bullets\":0,\"items\":0,\"kills\":0,"
            "\"combo\":0,\"request\":\"\",\"messages\":[],\"sounds\":[]}");

  frame.frame = 1234;
  frame.scene = 0;
  frame.score = 4294967295u;
  frame.time = 77;
  frame.ship = TraceFrame::Ship{50.0f, 89.9996f, -2, 110, 1, true};
  frame.boss = TraceFrame::Boss{-0.0004f, 10.125f, 100, 3, 250, true, false};
  frame.bullets = 500;
  frame.request = 'c';
  frame.messages = {{"Error", "自機が登録されていません。\nMyShip is not registered."},
                    {"a\"b\\", "\x01"}};
  frame.sounds = {0, 1, 0};
  const std::string line = TraceWriter::Format(frame);
  for (const char* part :
       {"{\"frame\":1234,\"scene\":0,\"stage\":1,\"score\":4294967295,\"fps\":10,\"time\":77,",
        "\"ship\":{\"x\":50.000,\"y\":90.000,\"hp\":-2,\"hpMax\":110,\"shotInterval\":1,"
        "\"finished\":true},",
        "\"boss\":{\"x\":-0.000,\"y\":10.125,\"hp\":100,\"phase\":3,\"age\":250,\"inPlay\":true,"
        "\"finished\":false},",
        "\"bullets\":500,", "\"request\":\"c\",",
        "\"messages\":[[\"Error\",\"自機が登録されていません。\\nMyShip is not registered.\"],"
        "[\"a\\\"b\\\\\",\"\\u0001\"]],\"sounds\":[0,1,0]}"})
    EXPECT_THAT(line, HasSubstr(part));
  EXPECT_EQ(line.find('\n'), std::string::npos);

  // Bytes that are not UTF-8 (a message quoting a damaged file) still make valid JSON.
  frame.messages = {{"Error",
                     "a\xff\xe3\x81"
                     "b\x1b"}};
  EXPECT_THAT(TraceWriter::Format(frame),
              HasSubstr("[[\"Error\",\"a\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"
                        "b\\u001b\"]]"));

  // Each frame is in the file while the trace is still open.
  const testing::ScratchFolder folder("vorlith-trace-writer");
  const std::string path = folder / "flush.jsonl";
  TraceWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(path, error)) << error;
  for (int i = 0; i < 3; ++i) {
    frame.frame = i;
    writer.Write(frame);
    const std::string written = testing::ReadWhole(path);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), i + 1);
  }
  writer.Close();
}

// The replays of tests/replays played in-process, for what their frames draw, which their
// traces do not show: the pop-ups of the item pick-ups.

// Each pick-up shows its pop-up for the 60 frames from the one it happens in, so the copies
// of a pop-up on screen are the pick-ups of the last 60 frames.
TEST(ReplayFlowTest, PickUpsShowTheirPopUpsForSixtyFrames) {
  ReplayStream replay;
  std::string error;
  ASSERT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/item_pickups.replay", error)) << error;
  auto* input = new ReplayPadSource(&replay);
  testkit::GameRun game;
  game.app->SetPadSource(std::unique_ptr<PadSource>(input));
  struct Popup {
    std::string text;
    std::uint32_t colour;
    std::int32_t (MoverMyShip::*changes)() const;
    std::int32_t last;
    std::vector<std::int64_t> pickUps;
  };
  Popup popups[] = {{"Shoot Ability +1", 0xFFFFFFFF, &MoverMyShip::GetShotInterval, 8, {}},
                    {"HP Max +1", 0xFF6464FF, &Mover::GetHpMax, 100, {}}};
  for (std::int64_t frame = 0; !input->IsFinished(); ++frame) {
    game.Frame();
    for (Popup& popup : popups) {
      const std::int32_t now = (game.Stage()->GetMyShip()->*popup.changes)();
      if (now != popup.last) popup.pickUps.push_back(frame);
      popup.last = now;
      int shown = 0, recent = 0;
      for (const auto& call : game.test.device->texts)
        shown += call.text == popup.text && call.argb == popup.colour;
      for (std::int64_t at : popup.pickUps) recent += at <= frame && frame < at + 60;
      ASSERT_EQ(shown, recent) << popup.text << " in frame " << frame;
    }
  }
  ASSERT_EQ(popups[0].pickUps.size(), 2u);
  EXPECT_LT(popups[0].pickUps[1] - popups[0].pickUps[0], 60);  // the two pop-ups overlap
}

// What the main loop meets during a replay: nothing; P after every 40th frame, then a repaint
// and P again while paused; or after every 40th frame a repaint, Alt+Enter and the focus
// lost, then a repaint and the focus back while the loop waits.
enum class Disturbance { kNone, kPauses, kRepaintsAndSwitches };

// The trace of a committed replay played through the main loop, but for the frame rate and
// the kill count (which runs on over the whole process, from one game to the next).
std::string TraceOf(const std::string& name, Disturbance disturbance, int& labelledPresents) {
  ReplayStream replay;
  std::string error;
  EXPECT_TRUE(replay.Open(VORLITH_SOURCE_DIR "/tests/replays/" + name, error));
  auto* input = new ReplayPadSource(&replay);
  testkit::GameRun game;
  game.app->SetPadSource(std::unique_ptr<PadSource>(input));
  FakeWindow& window = *game.test.window;
  const bool pauses = disturbance == Disturbance::kPauses;
  const testing::ScratchFolder folder("vorlith-disturbed-trace");
  const std::string path = folder / "trace.jsonl";
  {
    FrameReporter reporter(*game.app, {path, "", {}, input, nullptr});
    EXPECT_TRUE(reporter.Open(error)) << error;
    int frames = 0;
    game.app->SetFrameObserver([&] {
      reporter.OnFrame();
      if (disturbance == Disturbance::kNone || ++frames % 40 != 0) return;
      if (pauses) {
        window.PushEvent(WindowEventType::Pause);
        return;
      }
      window.PushEvent(WindowEventType::Expose);
      window.PushEvent(WindowEventType::ToggleFullScreen);
      window.focused = false;
    });
    window.waitHook = [&](int waits) {
      if (!pauses) window.focused = true;
      window.PushEvent(pauses && waits % 2 == 0 ? WindowEventType::Pause : WindowEventType::Expose);
    };
    EXPECT_EQ(game.app->Run(), 0);
    const int waits = disturbance == Disturbance::kNone ? 0 : frames / 40 * (pauses ? 2 : 1);
    EXPECT_EQ(window.waitCount, waits);
  }
  labelledPresents = game.test.device->labelledPresentCount;
  return std::regex_replace(testing::ReadWhole(path), std::regex("\"(fps|kills)\":[0-9]+,"), "");
}

// Pauses, and repaints, mode switches and the focus leave the trace as it was: a repaint
// presents the last picture again, so combos, results and pop-ups stay where the counted
// frames left them, whatever the window does meanwhile.
TEST(ReplayFlowTest, PausesRepaintsModeSwitchesAndFocusLeaveTheTraceAsItWas) {
  const std::tuple<std::string, Disturbance, int, bool> runs[] = {
      {"item_pickups.replay", Disturbance::kPauses, 100, true},
      {"game_over_continue_return.replay", Disturbance::kRepaintsAndSwitches, 4000, false}};
  for (const auto& [name, disturbance, frames, labels] : runs) {
    int labelled = 0;
    const std::string straight = TraceOf(name, Disturbance::kNone, labelled);
    EXPECT_EQ(labelled, 0);
    const std::string disturbed = TraceOf(name, disturbance, labelled);
    EXPECT_TRUE(labels ? labelled > 4 : labelled == 0) << labelled;
    EXPECT_GT(std::count(straight.begin(), straight.end(), '\n'), frames);
    EXPECT_TRUE(straight == disturbed) << name << ": the disturbed run's trace differs";
  }
}

// A screenshot of the last frame is taken (the fake device cannot read back, so it fails for
// that reason); one of the frame after it was never reached, fails the run too and leaves no
// file.
TEST(ReplayFlowTest, AScreenshotPastTheLastFrameFailsTheRunNamingIt) {
  testkit::GameRun game({"vorlith"});
  const std::string dir = ::testing::TempDir();
  FrameReporter reporter(
      *game.app, {"", "", {{1, dir + "last.png"}, {2, dir + "next.png"}}, nullptr, nullptr});
  std::string error;
  ASSERT_TRUE(reporter.Open(error)) << error;
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i) {
    game.Frame();
    reporter.OnFrame();
  }
  EXPECT_FALSE(reporter.Finish());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "vorlith: " + dir + "last.png: no screenshot: the picture could not be read back\n" +
                "vorlith: " + dir + "next.png: no screenshot: frame 2 was never reached\n");
  EXPECT_FALSE(std::filesystem::exists(dir + "next.png"));
}

}  // namespace
}  // namespace vorlith
