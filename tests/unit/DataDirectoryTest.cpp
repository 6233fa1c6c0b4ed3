#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestFiles.h"
#include "base/DataDirectory.h"

namespace vorlith {
namespace {

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
