#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "StageTestKit.h"
#include "TestFiles.h"
#include "base/DataDirectory.h"
#include "platform/FileLock.h"
#include "platform/PlayerFiles.h"
#include "replay/PlayerRecords.h"
#include "replay/ScoreTable.h"

namespace vorlith {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

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
  for (const auto& c : cases)
    EXPECT_EQ(DataDirectory::Candidates(c.places), c.expected) << c.places.programDirectory;
}

TEST(DataDirectoryTest, FindTakesTheFirstHolderAndTheMessageNamesEveryPlaceTried) {
  const List candidates = {"/a", "/b", "/c"};
  EXPECT_EQ(DataDirectory::Find(candidates, [](const std::string& d) { return d != "/a"; }), "/b");
  EXPECT_EQ(DataDirectory::Find(candidates, [](const std::string&) { return false; }), "");
  EXPECT_THAT(DataDirectory::NotFoundMessage(candidates),
              ::testing::AllOf(HasSubstr("/a, /b or /c"), HasSubstr("VORLITH_DATA_DIR")));
  EXPECT_THAT(DataDirectory::NotFoundMessage({"/x\x1b]0;t\a"}), HasSubstr("in /x\\x1b]0;t\\x07;"));

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

ScoreEntry Entry(std::uint32_t score, const std::string& replay = "run-1.replay") {
  return {{score, 1, 100}, "2026-12-07 05:42", replay};
}

TEST(ScoreTableTest, ParsesWhatItFormatsRefusesDamageAndKeepsTheTenBest) {
  std::vector<ScoreEntry> entries, dropped;
  for (std::uint32_t score : {5u, 9u, 5u, 7u})
    ScoreTable::Insert(entries, Entry(score, "run-" + std::to_string(score) + ".replay"), dropped);
  const std::string text = ScoreTable::Format(entries);
  EXPECT_EQ(text.substr(0, 55), "vorlith-scores 1\n9 1 100 2026-12-07 05:42 run-9.replay\n");
  std::vector<ScoreEntry> read;
  std::string problem;
  ASSERT_TRUE(ScoreTable::Parse(text, read, problem)) << problem;
  EXPECT_EQ(read.size(), 4u);
  const std::string line = "4294967295 999 1000000000 2026-12-07 05:42 run-a_b.replay\n";
  EXPECT_TRUE(ScoreTable::Parse("vorlith-scores 1\n" + line, read, problem)) << problem;
  EXPECT_EQ(read[0].run.score, 4294967295u);
  for (const std::string& bad : std::vector<std::string>{
           "vorlith-scores 2\n", "", "vorlith-scores 1\n" + line.substr(0, line.size() - 1),
           "vorlith-scores 1\n4294967296 1 1 2026-12-07 05:42 run-1.replay\n",
           "vorlith-scores 1\n1 0 1 2026-12-07 05:42 run-1.replay\n",
           "vorlith-scores 1\n1 1 1 2026-12-07 05:42 ../x.replay\n",
           "vorlith-scores 1\n1 1 1 2026-12-07 05:42 run-1.replay\n2 1 1 2026-12-07 05:42 "
           "run-1.replay\n"}) {
    EXPECT_FALSE(ScoreTable::Parse(bad, read, problem)) << bad;
  }
  std::string ten = "vorlith-scores 1\n";
  for (int i = 0; i < 10; ++i) ten += "1 1 1 2026-12-07 05:42 run-1.replay\n";
  EXPECT_TRUE(ScoreTable::Parse(ten, read, problem));
  EXPECT_FALSE(ScoreTable::Parse(ten + "1 1 1 2026-12-07 05:42 run-1.replay\n", read, problem));
  EXPECT_EQ(problem, "line 12: not an entry of the table");

  entries.clear();  // none dropped yet; the eleventh best is dropped and a tie goes below
  for (int i = 0; i < 10; ++i) ScoreTable::Insert(entries, Entry(100), dropped);
  EXPECT_EQ(ScoreTable::Insert(entries, Entry(100, "run-tie.replay"), dropped), 0);
  EXPECT_EQ(dropped.back().replay, "run-tie.replay");
  EXPECT_EQ(ScoreTable::Insert(entries, Entry(101, "run-new.replay"), dropped), 1);
  EXPECT_EQ(std::tuple(dropped.size(), entries.size()), std::tuple(2u, 10u));
}

class RecordsTest : public ::testing::Test {
 protected:
  std::unique_ptr<PlayerRecords> Records() {
    return std::make_unique<PlayerRecords>(folder.string(), dialogs, "0.24",
                                           [] { return std::string("2026-12-07 05:42"); });
  }
  // A run of `frames` frames: Z, then nothing held; it begins with a combo left open.
  int Play(PlayerRecords& records, std::uint32_t score, int frames = 3, int combo = 0,
           int comboTimer = 0) {
    records.BeginRun(combo, comboTimer);
    PadState pad;
    pad.buttons[0] = 1;
    records.RecordFrame(pad);
    for (int i = 1; i < frames; ++i) records.RecordFrame(PadState{});
    return records.EndRun({score, 1, frames});
  }
  const testing::ScratchFolder folder{"vorlith-records"};
  testkit::RecordingDialogs dialogs;
};

TEST_F(RecordsTest, ARunIsKeptWithItsReplayAndTheTableSurvivesTheProgram) {
  auto records = Records();
  EXPECT_EQ(Play(*records, 110100, 2, 2, 7), 1);
  const std::string replay =
      "vorlith-replay 1\nversion 0.24 1\ncombo 2 7\n"
      "# score 110100, stage 1, 2 frames, 2026-12-07 05:42\n1 Z\n1 -\n";
  EXPECT_EQ(testing::ReadWhole(folder / "last.replay"), replay);
  const auto table = Records()->GetTable();  // read again from the file
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(testing::ReadWhole(folder / table[0].replay), replay);
  std::string why;
  EntryReplay watched = records->WatchEntry(0, why);
  ASSERT_TRUE(watched.pads) << why;
  EXPECT_EQ(std::tuple(watched.frames, watched.comboCount, watched.comboTimer),
            std::tuple(2, 2, 7));
  EXPECT_EQ(watched.pads->ReadPad().buttons[0], 1);
  EXPECT_TRUE(dialogs.shown.empty());
  std::ofstream(folder / table[0].replay, std::ios::app) << "1 Q\n";  // damaged
  EXPECT_FALSE(records->WatchEntry(0, why).pads);
  EXPECT_EQ(why, (folder / table[0].replay).string() + ":7: unknown control 'Q' (expected " +
                     "letters of UDLRZXCV or -). It was kept as " +
                     (folder / table[0].replay).string() + ".bad.");
}

TEST_F(RecordsTest, ADamagedTableIsKeptAsideWithOneMessageAndTheGamePlaysOn) {
  std::ofstream(folder / "scores.txt") << "vorlith-scores 1\ngarbage\n";
  auto records = Records();
  EXPECT_TRUE(records->GetTable().empty());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].second, (folder / "scores.txt").string() +
                                         ": not a high score table (line 2: not an entry of the "
                                         "table). It was kept as " +
                                         (folder / "scores.txt.bad").string() +
                                         "; the table starts empty.");
  EXPECT_EQ(testing::ReadWhole(folder / "scores.txt.bad"), "vorlith-scores 1\ngarbage\n");
  EXPECT_EQ(Play(*records, 50), 1);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  fs::resize_file(folder / "scores.txt", ScoreTable::kMaxFileBytes + 1);  // too large
  EXPECT_TRUE(Records()->GetTable().empty());
  EXPECT_THAT(dialogs.shown.back().second, HasSubstr("4097 bytes, more than 4096"));
  EXPECT_TRUE(fs::exists(folder / "scores.txt.bad-2"));
  fs::create_directory(folder / "scores.txt");  // unreadable
  EXPECT_TRUE(Records()->GetTable().empty());
  EXPECT_THAT(dialogs.shown.back().second, HasSubstr("(not a regular file)"));
  EXPECT_TRUE(fs::is_directory(folder / "scores.txt.bad-3"));
  EXPECT_EQ(dialogs.shown.size(), 3u);
}

// The disk filling up is a file size limit here: every write past it fails.
TEST_F(RecordsTest, AFullDiskLeavesThePreviousFilesWithOneMessage) {
  auto records = Records();
  Play(*records, 10);
  const std::string before = testing::ReadWhole(folder / "scores.txt");
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{}, saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  limit = saved;
  limit.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &limit);
  dialogs.shown.clear();
  const int place = Play(*records, 20, 50);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(place, 1);
  EXPECT_EQ(testing::ReadWhole(folder / "scores.txt"), before);
  // The table's, which stands for the last replay's too.
  EXPECT_THAT(dialogs.shown,
              ::testing::ElementsAre(::testing::Pair(
                  "Vorlith", HasSubstr("cannot write: File too large. The high scores stay"))));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
}

TEST_F(RecordsTest, TwoGamesEndingRunsAtOnceBothKeepTheirs) {
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = fork();
    if (children[child] == 0) {
      testkit::RecordingDialogs quiet;
      PlayerRecords records(folder.string(), quiet, "0.24");
      for (int run = 0; run < 5; ++run) Play(records, 100 * child + run + 1);
      _exit(quiet.shown.empty() ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
  }
  const auto table = Records()->GetTable();
  ASSERT_EQ(table.size(), 10u);
  EXPECT_EQ(std::tuple(table.front().run.score, table.back().run.score), std::tuple(105u, 1u));
  // ten entries' replays, the last run's, the table and its lock
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 13);
}

}  // namespace
}  // namespace vorlith
