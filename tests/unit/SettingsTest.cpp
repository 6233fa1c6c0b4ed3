#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/LaunchOptions.h"
#include "app/OptionsScreen.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"
#include "app/StartupOptions.h"
#include "input/KeyNames.h"

namespace vorlith {
namespace {

TEST(SettingsTest, WrittenSettingsReadBackAndTheDefaultsAreTodaysControls) {
  std::vector<std::string> messages;
  const Settings defaults = Settings::Parse("", "s.ini", messages);
  const std::string text = defaults.ToText();
  EXPECT_NE(text.find("[keys]\nup = Up\ndown = Down\nleft = Left\nright = Right\nfire = Z\n"
                      "x = X\ncontinue = C\nreturn = V\npause = P\n\n"
                      "[pad]\nup = dpup\ndown = dpdown\nleft = dpleft\nright = dpright\n"
                      "fire = a\nx = b\ncontinue = x\nreturn = y\npause = start\n\n"
                      "[window]\nfullscreen = no\nwidth = 640\nheight = 480\n"
                      "pause_when_unfocused = yes\n"),
            std::string::npos)
      << text;

  Settings changed;
  changed.volume = 0;
  changed.mute = true;
  changed.bindings.keys[Bindings::kFire] = {KeyNames::KeyFromName("space"), 29};
  changed.bindings.keys[Bindings::kUp] = {KeyNames::KeyFromName("Keypad 8"), KeyNames::kNoKey};
  changed.bindings.buttons[Bindings::kPause] = {KeyNames::ButtonFromName("back"), 6};
  changed.windowWidth = 16384;
  changed.windowHeight = 1;
  changed.fullScreen = true;
  changed.pauseWhenUnfocused = false;
  const Settings read = Settings::Parse(changed.ToText(), "s.ini", messages);
  EXPECT_EQ(read.ToText(), changed.ToText());
  EXPECT_NE(read.ToText().find("fire = Space, Z\n"), std::string::npos);
  EXPECT_NE(read.ToText().find("up = Keypad 8\n"), std::string::npos);
  EXPECT_TRUE(messages.empty()) << messages[0];
  EXPECT_EQ(read.Gain(), 0.0f);
  changed.mute = false;
  changed.volume = 50;
  EXPECT_FLOAT_EQ(changed.Gain(), 0.5f);  // 6 dB down
}

TEST(SettingsTest, EachBadLineIsNamedAndKeepsTheDefaultAndTheLaterOfTwoClashingLinesGivesWay) {
  const std::string text =
      "[sound]\n"
      "volume = 101\n"  // 2: one past the limit
      "mute = maybe\n"  // 3
      "[keys]\n"
      "up = W\n"              // 5: fine
      "fire = Space, Z, X\n"  // 6: three names
      "x = Escape\n"          // 7: quits the game, not bindable
      "left = W\n"            // 8: up has W
      "[pad]\n"
      "fire = trigger\n"  // 10
      "jump = a\n"        // 11
      "[extra]\n"         // 12: one message for the section, none for its lines
      "anything = 1\n"
      "[window]\n"
      "width = 0\n"       // 15: one below the limit
      "height = 16385\n"  // 16: one past it
      "oops\n";           // 17
  std::vector<std::string> messages;
  const Settings read = Settings::Parse(text, "/c/settings.ini", messages);
  std::vector<std::string> lines;
  for (const std::string& message : messages) lines.push_back(message.substr(0, 19));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "/c/settings.ini:2: ", "/c/settings.ini:3: ", "/c/settings.ini:6: ",
                       "/c/settings.ini:7: ", "/c/settings.ini:10:", "/c/settings.ini:11:",
                       "/c/settings.ini:12:", "/c/settings.ini:15:", "/c/settings.ini:16:",
                       "/c/settings.ini:17:", "/c/settings.ini:8: "}));
  EXPECT_EQ(messages.back(), "/c/settings.ini:8: left shares a key with up; Left is used");
  EXPECT_EQ(messages[0].substr(19),
            "volume is a whole number from 0 to 100, not \"101\"; 100 is used");
  Settings expected;  // the defaults but for the good line
  expected.bindings.keys[Bindings::kUp] = {KeyNames::KeyFromName("W"), KeyNames::kNoKey};
  EXPECT_EQ(read.ToText(), expected.ToText());

  // Swapped keys are no clash; of two lines that take one key, the later gives way.
  messages.clear();
  const Settings swapped = Settings::Parse("[keys]\nfire = X\nx = Z\n", "s", messages);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Settings::KeysText(swapped.bindings.keys[Bindings::kFire]), "X");
  const Settings twice =
      Settings::Parse("[keys]\nfire = Space\nx = Space\n[pad]\npause = a\n", "s", messages);
  EXPECT_EQ(messages, (std::vector<std::string>{"s:3: x shares a key with fire; X is used",
                                                "s:5: pause shares a button with fire; start "
                                                "is used"}));
  EXPECT_EQ(Settings::KeysText(twice.bindings.keys[Bindings::kFire]), "Space");
}

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
 protected:
  const testing::ScratchFolder home{"vorlith-settings-file"};
  const testing::EnvironmentScope config{"XDG_CONFIG_HOME", home.c_str()};
};

// Missing: the defaults, nothing written. Saved: read back as written. Binary, or one byte
// past 64 KiB: kept aside whole and the defaults used; exactly 64 KiB is read.
TEST_F(SettingsFileTest, SavedSettingsComeBackAndAnUnreadableFileIsKeptAside) {
  const std::string path = SettingsFile::Locate();
  EXPECT_EQ(path, (home / "vorlith" / "settings.ini").string());
  EXPECT_EQ(SettingsFile::Load(path).ToText(), Settings{}.ToText());
  EXPECT_FALSE(fs::exists(path));

  Settings settings;
  settings.volume = 50;
  settings.bindings.keys[Bindings::kFire] = {44, 29};  // Space, Z
  ASSERT_EQ(SettingsFile::Save(path, settings), "");
  EXPECT_EQ(testing::ReadWhole(path), settings.ToText());
  const std::string elsewhere = (home / "gone" / "settings.ini").string();
  EXPECT_EQ(SettingsFile::Save(elsewhere, Settings{})
                .rfind("The settings were not saved: " + elsewhere + ": ", 0),
            0u);
  EXPECT_EQ(SettingsFile::Load(path).ToText(), settings.ToText());

  const std::string limit = settings.ToText() + std::string(SettingsFile::kMaxBytes, '#');
  for (const std::string& bad :
       {std::string("[sound]\nvolume = 5\0\n", 20), limit.substr(0, SettingsFile::kMaxBytes + 1)}) {
    std::ofstream(path, std::ios::binary) << bad;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SettingsFile::Load(path).volume, 100);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kept as " + path + ".bad"), std::string::npos) << said;
    EXPECT_EQ(testing::ReadWhole(path + ".bad"), bad);
    EXPECT_FALSE(fs::exists(path));
    fs::remove(path + ".bad");
  }
  std::ofstream(path, std::ios::binary) << limit.substr(0, SettingsFile::kMaxBytes);
  EXPECT_EQ(SettingsFile::Load(path).volume, 50);
}

class OptionsScreenTest : public ::testing::Test {
 protected:
  // One frame with only this pad control (fire without one) held, then one with nothing held.
  void Tap(std::uint8_t PadState::*control = nullptr) {
    PadState pad;
    (control ? pad.*control : pad.buttons[0]) = 1;
    screen.Step(pad, held);
    screen.Step(PadState{}, held);
  }
  void Fire() { Tap(); }
  void PressKey(int code) {
    held.keys.held[code] = true;
    screen.Step(PadState{}, held);
    held.keys.held[code] = false;
    screen.Step(PadState{}, held);
  }
  void GoTo(int line) {
    while (screen.GetLine() != line) Tap(&PadState::down);
  }

  OptionsScreen screen;
  OptionsScreen::Held held;
};

TEST_F(OptionsScreenTest, LinesWrapTheVolumeStopsAtItsEndsAndRebindingSwapsKeys) {
  Settings settings;
  settings.volume = 90;
  screen.Open(settings, PadState{}, held);
  Tap(&PadState::up);
  EXPECT_EQ(screen.GetLine(), OptionsScreen::kBack);
  Tap(&PadState::down);
  Tap(&PadState::right);
  Tap(&PadState::right);  // 100 is the top
  EXPECT_EQ(screen.LineText(OptionsScreen::kVolume), "volume\t100");
  for (int i = 0; i < 11; ++i) Tap(&PadState::left);
  EXPECT_EQ(screen.GetSettings().volume, 0);
  // A held control counts once.
  PadState right;
  right.right = 1;
  for (int i = 0; i < 3; ++i) screen.Step(right, held);
  EXPECT_EQ(screen.GetSettings().volume, 10);
  GoTo(OptionsScreen::kMute);
  Fire();
  EXPECT_TRUE(screen.GetSettings().mute);

  // The new key replaces the action's keys; the action that had it takes the old one. Esc
  // keeps the key; a key without a name is not taken. Leaving by "back" ends the screen.
  constexpr int kSpace = 44, kX = 27, kZ = 29, kUnnamed = 200;
  screen.Open(Settings{}, PadState{}, held);
  GoTo(OptionsScreen::kFirstKey + Bindings::kFire);
  Fire();
  ASSERT_TRUE(screen.IsWaiting());
  PressKey(kUnnamed);
  PressKey(kX);
  EXPECT_FALSE(screen.IsWaiting());
  EXPECT_EQ(screen.LineText(OptionsScreen::kFirstKey + Bindings::kFire), "key fire\tX");
  EXPECT_EQ(screen.LineText(OptionsScreen::kFirstKey + Bindings::kX), "key x\tZ");
  Fire();
  screen.Escape();
  PressKey(kSpace);  // no longer waited for
  EXPECT_EQ(screen.GetSettings().bindings.keys[Bindings::kFire][0], kX);
  EXPECT_TRUE(screen.IsOpen());

  GoTo(OptionsScreen::kFirstButton + Bindings::kPause);
  Fire();
  held.buttons[0] = true;  // A, fire's button
  screen.Step(PadState{}, held);
  EXPECT_EQ(Settings::ButtonsText(screen.GetSettings().bindings.buttons[Bindings::kPause]), "a");
  EXPECT_EQ(Settings::ButtonsText(screen.GetSettings().bindings.buttons[Bindings::kFire]), "start");
  GoTo(OptionsScreen::kDefaults);
  Fire();
  EXPECT_EQ(screen.GetSettings().bindings.keys[Bindings::kFire][0], kZ);
  Tap(&PadState::down);
  Fire();
  EXPECT_FALSE(screen.IsOpen());
}

bool Parse(std::vector<const char*> args, LaunchOptions& options, std::string& error) {
  args.insert(args.begin(), "vorlith");
  return LaunchOptions::Parse(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(LaunchOptionsTest, LongOptionsAreTakenOutTheRestKeptInOrderAndUsageErrorsNamed) {
  LaunchOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"-w", "800", "--replay", "-h", "--trace", "t.jsonl", "--no-pacing", "-W", "--record",
             "r.replay", "-f", "--screenshot", "0:title.png", "--screenshot", "120:a:b.png"},
            options, error))
      << error;
  // A value is taken whatever it looks like.
  EXPECT_EQ(std::tuple(options.replayPath, options.tracePath, options.recordPath, options.noPacing),
            std::tuple("-h", "t.jsonl", "r.replay", true));
  EXPECT_EQ(options.gameArgs, (std::vector<std::string>{"vorlith", "-w", "800", "-W", "-f"}));
  using Shot = std::pair<std::int64_t, std::string>;
  EXPECT_EQ(options.screenshots, (std::vector<Shot>{{0, "title.png"}, {120, "a:b.png"}}));
  LaunchOptions help, version;  // help and version need nothing else
  EXPECT_TRUE(Parse({"--headless", "--help"}, help, error) && help.help && help.headless);
  EXPECT_TRUE(Parse({"--no-pacing", "--version"}, version, error) && version.version);
  // In a size's value place a double-dash word is that value; single-dash words stay the
  // display options' own.
  LaunchOptions words;
  ASSERT_TRUE(Parse({"-h", "--5", "-x", "--", "-fw", "--no"}, words, error)) << error;
  EXPECT_EQ(words.gameArgs,
            (std::vector<std::string>{"vorlith", "-h", "--5", "-x", "--", "-fw", "--no"}));

  // Each row: arguments a run refuses, and its whole message where it is pinned. An unknown
  // double-dash option is named with the nearest known one.
  const std::vector<std::pair<std::vector<const char*>, std::string>> bad = {
      {{"--headless"}, ""},
      {{"--no-pacing"}, "--no-pacing needs --replay FILE"},
      {{"--replay", "r", "--headless", "--screenshot", "5:x.png"}, ""},
      {{"--screenshot", "-1:x.png"}, ""},
      {{"--screenshot", "7:"}, ""},
      {{"--screenshot", "99999999999999:x.png"}, ""},
      {{"--trace"}, ""},
      {{"--replay"}, ""},
      {{"--replay", ""}, "--replay needs a file name, not an empty string"},
      {{"--record", "r.replay", "--trace", "./r.replay"}, ""},
      {{"--screenshot", "1:a.png", "--screenshot", "2:a.png"}, ""},
      {{"--screenshot", "\x1b[2J\xff"}, "--screenshot takes FRAME:FILE.png, not '\\x1b[2J\\xff'"},
      {{"--hlep"}, "unknown option '--hlep' (did you mean --help?)"},
      {{"--fullscreen"}, "unknown option '--fullscreen' (did you mean --trace?)"},
      {{"-w", "-w", "--recrod=x"}, "unknown option '--recrod=x' (did you mean --record?)"},
  };
  for (const auto& [args, message] : bad) {
    LaunchOptions refused;
    std::string why;
    EXPECT_FALSE(Parse(args, refused, why)) << args[0];
    EXPECT_TRUE(message.empty() ? !why.empty() : why == message) << why;
  }
}

TEST(StartupOptionsTest, EachArgumentListGivesItsSizesAndMode) {
  struct Case {
    std::vector<std::string> args;
    int ww, wh, fw, fh;
    bool full = false;
  };
  const Case cases[] = {
      {{}, 640, 480, 640, 480},
      {{"-w", "800", "-h", "600"}, 800, 600, 800, 600},
      {{"-ww", "320", "-wh", "200", "-fw", "1024", "-fh", "768"}, 320, 200, 1024, 768},
      {{"stray", "-f"}, 640, 480, 640, 480, true},
      // Later options override earlier ones.
      {{"-fw", "1024", "-w", "800"}, 800, 480, 800, 480},
      {{"-w", "800", "-fw", "1024"}, 800, 480, 1024, 480},
      // Values read like atoi, saturating beyond int.
      {{"-w", "abc", "-h", "  42"}, 0, 42, 0, 42},
      {{"-w", "800px", "-h", "+7"}, 800, 7, 800, 7},
      {{"-w", "-5", "-h", ""}, -5, 0, -5, 0},
      {{"-w", "99999999999999999999", "-h", "-99999999999"}, INT_MAX, INT_MIN, INT_MAX, INT_MIN},
      // A value is taken whatever it looks like; "300" is then a stray argument.
      {{"-w", "-f"}, 0, 480, 0, 480},
      {{"-ww", "-h", "300"}, 0, 480, 640, 480},
      // Case-sensitive; unknown arguments and a missing last value are ignored.
      {{"-W", "800", "-H", "600", "--size", "x", "-F", "-ff"}, 640, 480, 640, 480},
      {{"-h", "300", "-w"}, 640, 300, 640, 300},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "vorlith");
    const StartupOptions o = StartupOptions::Parse(args);
    EXPECT_EQ(std::tuple(o.windowWidth, o.windowHeight, o.fullScreenWidth, o.fullScreenHeight,
                         o.fullScreen),
              std::tuple(c.ww, c.wh, c.fw, c.fh, c.full))
        << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace vorlith
