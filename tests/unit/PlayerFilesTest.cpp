#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "EnvironmentScope.h"
#include "TestFiles.h"
#include "platform/FileLock.h"
#include "platform/PlayerFiles.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;

class PlayerFilesTest : public ::testing::Test {
 protected:
  const testing::ScratchFolder root{"vorlith-player"};
};

using testing::EnvironmentScope;

TEST_F(PlayerFilesTest, FoldersComeFromXdgWhenAbsoluteElseFromHomeAndAreCreated) {
  const std::string data = (root / "data").string(), home = (root / "home").string();
  EnvironmentScope homeScope("HOME", home.c_str());
  std::string why;
  {
    EnvironmentScope xdg("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(PlayerFolderPath(PlayerFolder::Data, why), data + "/vorlith");
    EXPECT_TRUE(fs::is_directory(data + "/vorlith"));
  }
  EnvironmentScope relative("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(PlayerFolderPath(PlayerFolder::Config, why), home + "/.config/vorlith");
  EXPECT_TRUE(fs::is_directory(home + "/.config/vorlith"));
  std::ofstream(root / "file") << "x";
  EnvironmentScope blocked("XDG_DATA_HOME", (root / "file").c_str());
  EXPECT_EQ(PlayerFolderPath(PlayerFolder::Data, why), "");
  EXPECT_EQ(why, (root / "file/vorlith").string() + ": cannot create the folder: Not a directory");
  EnvironmentScope noHome("HOME", nullptr);
  EnvironmentScope noXdg("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(PlayerFolderPath(PlayerFolder::Data, why), "");
  EXPECT_EQ(why, "neither XDG_DATA_HOME nor HOME names a folder");
}

// Whole writes replace the old file or leave it, and no temporary behind. (Kept-aside files
// taking the next unused name with their bytes show in RecordsTest and SettingsFileTest.)
TEST_F(PlayerFilesTest, WholeWritesLeaveNoTemporaryAndAMissingFileCannotBeKeptAside) {
  const std::string path = (root / "scores.txt").string();
  std::string why;
  ASSERT_TRUE(WriteFileWhole(path, "first\n", why)) << why;
  ASSERT_TRUE(WriteFileWhole(path, "second\n", why)) << why;
  EXPECT_EQ(testing::ReadWhole(path), "second\n");
  EXPECT_FALSE(WriteFileWhole((root / "none/scores.txt").string(), "x", why));
  EXPECT_EQ(why.rfind((root / "none/scores.txt").string() +
                          ": cannot create a temporary file beside it: No such file",
                      0),
            0u)
      << why;
  fs::create_directory(root / "scores.dir");
  EXPECT_FALSE(WriteFileWhole((root / "scores.dir").string(), "x", why));
  EXPECT_EQ(why, (root / "scores.dir").string() + ": cannot replace: Is a directory");
  // scores.txt and scores.dir: no temporary file left
  EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 2);
  EXPECT_TRUE(RemovePlayerFile(path, why));
  EXPECT_TRUE(RemovePlayerFile(path, why));  // already gone
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(KeepFileAside(path, why), "");
  EXPECT_EQ(why, path + ": cannot rename it aside: No such file or directory");
}

TEST_F(PlayerFilesTest, ASecondLockWaitsUntilTheFirstIsReleased) {
  const std::string path = (root / "scores.lock").string();
  auto first = std::make_unique<FileLock>(path);
  ASSERT_TRUE(first->IsHeld());
  std::atomic<bool> secondHeld{false};
  std::thread second([&] {
    FileLock lock(path);
    secondHeld = lock.IsHeld();
  });
  // Until the kernel lists this process waiting for a lock (or a second has passed).
  const std::string waiting = "-> FLOCK  ADVISORY  WRITE " + std::to_string(getpid()) + " ";
  for (int i = 0; i < 1000 && testing::ReadWhole("/proc/locks").find(waiting) == std::string::npos;
       ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(secondHeld);
  first.reset();
  second.join();
  EXPECT_TRUE(secondHeld);
  EXPECT_FALSE(FileLock((root / "none/x.lock").string()).IsHeld());
}

}  // namespace
}  // namespace vorlith
