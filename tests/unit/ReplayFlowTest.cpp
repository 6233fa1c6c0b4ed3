// The replays of tests/replays played in-process: what their frames draw (overlays, pop-ups,
// the title), which the traces of the replay suite do not show.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TestPlatform.h"
#include "app/GameApp.h"
#include "input/ReplayScript.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverMyShip.h"
#include "stage/CStage.h"

namespace vorlith {
namespace {

using testing::TestPlatform;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kHealBlue = 0xFF6464FF;

class ReplayRun {
 public:
  explicit ReplayRun(const std::string& name) {
    std::string error;
    loaded =
        script.Load(std::string(VORLITH_SOURCE_DIR) + "/tests/replays/" + name + ".replay", error);
    EXPECT_TRUE(loaded) << error;
    MoverBullet::ResetVisibleBulletCount();
    MoverEnemy::ResetVisibleEnemyCount();
    app = std::make_unique<GameApp>(test.Take(), std::vector<std::string>{"vorlith"});
  }
  ~ReplayRun() { app.reset(); }

  // Plays the next frame; false once the replay has ended.
  bool Frame() {
    if (!loaded || frame >= script.GetFrameCount()) return false;
    const ReplayControls held = script.GetControls(frame++);
    KeyboardState& keys = test.input->keys;
    keys = KeyboardState{};
    keys.up = held & 0x01;
    keys.down = held & 0x02;
    keys.left = held & 0x04;
    keys.right = held & 0x08;
    keys.z = held & 0x10;
    keys.x = held & 0x20;
    keys.c = held & 0x40;
    keys.v = held & 0x80;
    app->Update();
    app->Draw();
    return true;
  }
  // Plays until a frame draws `text`; that frame's number, or -1 when the replay ends first.
  std::int64_t PlayUntilShown(const std::string& text) {
    while (Frame()) {
      if (Find(text)) return frame - 1;
    }
    return -1;
  }
  const HeadlessRenderDevice::TextCall* Find(const std::string& text) const {
    for (const auto& call : test.device->GetTexts()) {
      if (call.text == text) return &call;
    }
    return nullptr;
  }
  MoverMyShip* Ship() const { return app->GetStage() ? app->GetStage()->GetMyShip() : nullptr; }

  TestPlatform test;
  std::unique_ptr<GameApp> app;
  ReplayScript script;
  bool loaded = false;
  std::int64_t frame = 0;
};

void ExpectText(const ReplayRun& run, const std::string& text, int x, int y, std::uint32_t colour) {
  const auto* call = run.Find(text);
  ASSERT_NE(call, nullptr) << text;
  EXPECT_EQ(call->x, x) << text;
  EXPECT_EQ(call->y, y) << text;
  EXPECT_EQ(call->argb, colour) << text;
}

TEST(ReplayFlowTest, GameOverOffersCAndVAndEachDoesWhatItSays) {
  ReplayRun run("game_over_continue_return");
  const std::int64_t over = run.PlayUntilShown("Game Over");
  ASSERT_GT(over, 0);
  ASSERT_NE(run.Ship(), nullptr);
  EXPECT_TRUE(run.Ship()->IsFinished());
  ExpectText(run, "Game Over", 330, 200, kWhite);
  ExpectText(run, "(Continue ... C Key)", 320, 250, kBlue);
  ExpectText(run, "(Return Start ... V Key)", 320, 270, kBlue);
  EXPECT_EQ(run.Find("Stage Clear!!"), nullptr);
  // C: the overlay is gone with the old stage; the same stage again with the score kept.
  CStage* first = run.app->GetStage();
  std::uint32_t score = 0;
  while (run.app->GetStage() == first) {
    score = run.app->GetScore();
    ASSERT_TRUE(run.Frame());
  }
  EXPECT_GT(score, 0u);
  EXPECT_EQ(run.app->GetScore(), score);
  EXPECT_EQ(run.Find("Game Over"), nullptr);
  EXPECT_NE(run.Find("Stage 1"), nullptr);
  const std::string digits = std::to_string(score);
  EXPECT_NE(run.Find(std::string(9 - digits.size(), '0') + digits), nullptr);
  EXPECT_FALSE(run.Ship()->IsFinished());

  // Destroyed again, V: the title.
  ASSERT_GT(run.PlayUntilShown("Game Over"), over);
  ASSERT_GT(run.PlayUntilShown("Press Z key"), 0);
  EXPECT_EQ(run.app->GetScore(), 0u);
  EXPECT_EQ(run.Find("Game Over"), nullptr);
  EXPECT_TRUE(run.test.dialogs->shown.empty());
}

int CountShown(const ReplayRun& run, const std::string& text, std::uint32_t colour) {
  int count = 0;
  for (const auto& call : run.test.device->GetTexts()) {
    count += call.text == text && call.argb == colour;
  }
  return count;
}

// Each pick-up shows its pop-up for the 60 frames from the one it happens in, so the copies
// of a pop-up on screen are the pick-ups of the last 60 frames.
void ExpectPopups(const std::vector<std::int64_t>& pickUps, const std::vector<int>& shown,
                  const std::string& text) {
  for (std::size_t frame = 0; frame < shown.size(); ++frame) {
    int recent = 0;
    for (std::int64_t at : pickUps) {
      recent +=
          at <= static_cast<std::int64_t>(frame) && static_cast<std::int64_t>(frame) < at + 60;
    }
    ASSERT_EQ(shown[frame], recent) << text << " in frame " << frame;
  }
}

TEST(ReplayFlowTest, PickUpsShowTheirPopUpsAndChangeTheShip) {
  ReplayRun run("item_pickups");
  std::vector<std::int64_t> faster, stronger;
  std::vector<int> shootShown, hpShown;
  std::int32_t interval = 8, hpMax = 100;
  while (run.Frame()) {
    ASSERT_NE(run.Ship(), nullptr);
    if (run.Ship()->GetShotInterval() != interval) faster.push_back(run.frame - 1);
    if (run.Ship()->GetHpMax() != hpMax) stronger.push_back(run.frame - 1);
    interval = run.Ship()->GetShotInterval();
    hpMax = run.Ship()->GetHpMax();
    shootShown.push_back(CountShown(run, "Shoot Ability +1", kWhite));
    hpShown.push_back(CountShown(run, "HP Max +1", kHealBlue));
  }
  EXPECT_EQ(interval, 6);
  EXPECT_EQ(hpMax, 120);
  ASSERT_EQ(faster.size(), 2u);
  ASSERT_EQ(stronger.size(), 2u);
  EXPECT_LT(faster[1] - faster[0], 60);  // the two pop-ups overlap
  ExpectPopups(faster, shootShown, "Shoot Ability +1");
  ExpectPopups(stronger, hpShown, "HP Max +1");
  EXPECT_TRUE(run.test.dialogs->shown.empty());
}

TEST(ReplayFlowTest, TheBeatenBossGivesStageClearAndCLeadsThroughStageTwoToTheTitle) {
  ReplayRun run("boss_stage_clear");
  const std::int64_t clear = run.PlayUntilShown("Stage Clear!!");
  ASSERT_GT(clear, 5000);
  ExpectText(run, "Stage Clear!!", 330, 200, kWhite);
  ExpectText(run, "(Next Stage ... C Key)", 320, 250, kBlue);
  EXPECT_EQ(run.Find("Game Over"), nullptr);
  ASSERT_NE(run.app->GetStage(), nullptr);
  EXPECT_TRUE(run.app->GetStage()->GetBossMover()->IsFinished());
  EXPECT_TRUE(run.app->GetStage()->IsSweepDone());
  EXPECT_GE(run.app->GetScore(), 100000u);

  ASSERT_GT(run.PlayUntilShown("Press Z key"), clear);
  EXPECT_EQ(run.app->GetScore(), 0u);
  EXPECT_EQ(run.app->GetStageNumber(), 1);
  ASSERT_EQ(run.test.dialogs->shown.size(), 1u);
  EXPECT_EQ(run.test.dialogs->shown[0].first, "Error! CStage::SetMoverBullet()");
  EXPECT_EQ(run.test.dialogs->shown[0].second, "モデルが登録されていない");
}

}  // namespace
}  // namespace vorlith
