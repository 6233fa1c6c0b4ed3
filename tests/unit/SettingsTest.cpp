#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Settings.h"
#include "input/KeyNames.h"

namespace vorlith {
namespace {

TEST(SettingsTest, WrittenSettingsReadBackAndTheDefaultsAreTodaysControls) {
  std::vector<std::string> messages;
  const Settings defaults = Settings::Parse("", "s.ini", messages);
  const std::string text = defaults.ToText();
  EXPECT_NE(text.find("[keys]\nup = Up\ndown = Down\nleft = Left\nright = Right\nfire = Z\n"
                      "x = X\ncontinue = C\nreturn = V\npause = P\n"),
            std::string::npos);
  EXPECT_NE(text.find("[pad]\nup = dpup\ndown = dpdown\nleft = dpleft\nright = dpright\n"
                      "fire = a\nx = b\ncontinue = x\nreturn = y\npause = start\n"),
            std::string::npos);
  EXPECT_NE(text.find("[window]\nfullscreen = no\nwidth = 640\nheight = 480\n"
                      "pause_when_unfocused = yes\n"),
            std::string::npos);

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
  const Settings defaults;
  EXPECT_EQ(read.volume, 100);
  EXPECT_EQ(read.bindings.keys[Bindings::kUp][0], KeyNames::KeyFromName("W"));
  EXPECT_EQ(read.bindings.keys[Bindings::kLeft], defaults.bindings.keys[Bindings::kLeft]);
  EXPECT_EQ(read.bindings.keys[Bindings::kFire], defaults.bindings.keys[Bindings::kFire]);
  EXPECT_EQ(read.bindings.buttons, defaults.bindings.buttons);
  EXPECT_EQ(std::tuple(read.windowWidth, read.windowHeight), std::tuple(640, 480));

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

}  // namespace
}  // namespace vorlith
