#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "EnvironmentScope.h"
#include "TestFiles.h"
#include "base/DataDirectory.h"
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

using Places = DataDirectory::Places;
using List = std::vector<std::string>;

TEST(DataDirectoryTest, CandidatesComeFromTheEnvironmentAloneOrElseBesideTheBinaryThenTheSource) {
  const struct {
    Places places;
    List expected;
  } cases[] = {
      {{"/env", "/usr/games", "../share/games/vorlith", "/src/data"}, {"/env"}},
      {{"", "/usr/games", "../share/games/vorlith", "/src/data"},
       {"/usr/share/games/vorlith", "/src/data"}},
      {{"", "/opt/v/games/", "../share/games/vorlith", ""}, {"/opt/v/share/games/vorlith"}},
      {{"", "", "../share/games/vorlith", "/src/data"}, {"/src/data"}},
      {{"", "/src/build", "../data", "/src/data"}, {"/src/data"}},  // the same place once
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DataDirectory::Candidates(c.places), c.expected) << c.places.programDirectory;
  }
}

TEST(DataDirectoryTest, FindTakesTheFirstHolderAndTheMessageNamesEveryPlaceTried) {
  const List candidates = {"/a", "/b", "/c"};
  EXPECT_EQ(DataDirectory::Find(candidates, [](const std::string& d) { return d != "/a"; }), "/b");
  EXPECT_EQ(DataDirectory::Find(candidates, [](const std::string&) { return false; }), "");
  const std::string message = DataDirectory::NotFoundMessage(candidates);
  EXPECT_NE(message.find("/a, /b or /c"), std::string::npos) << message;
  EXPECT_NE(message.find("VORLITH_DATA_DIR"), std::string::npos);
  EXPECT_NE(DataDirectory::NotFoundMessage({"/x\x1b]0;t\a"}).find("in /x\\x1b]0;t\\x07;"),
            std::string::npos);

  const testing::ScratchFolder root("vorlith_DataDirectoryTest");
  std::filesystem::create_directories(root / "model");
  EXPECT_FALSE(DataDirectory::HoldsGameData(root.string()));
  std::ofstream(root / "model" / "myship.x") << "xof 0303txt 0032\n";
  EXPECT_TRUE(DataDirectory::HoldsGameData(root.string()));
}

TEST(DataDirectoryTest, RelativeNamesResolveAgainstTheDirectoryOnceOneIsSet) {
  const struct {
    std::string directory, name, expected;
  } cases[] = {
      {"", "./model/boss0.x", "./model/boss0.x"},  // unset: the current directory
      {"/d", "./model/boss0.x", "/d/model/boss0.x"}, {"/d/", "game.ico", "/d/game.ico"},
      {"/d", "textures/a.png", "/d/textures/a.png"}, {"/d", "/abs/file.wav", "/abs/file.wav"},
  };
  for (const auto& c : cases) {
    DataDirectory::Set(c.directory);
    EXPECT_EQ(DataDirectory::Resolve(c.name), c.expected) << c.directory << " " << c.name;
  }
  DataDirectory::Set("");
}

}  // namespace
}  // namespace vorlith
