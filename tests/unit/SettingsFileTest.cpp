#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "EnvironmentScope.h"
#include "TestFiles.h"
#include "app/SettingsFile.h"

namespace vorlith {
namespace {

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

}  // namespace
}  // namespace vorlith
