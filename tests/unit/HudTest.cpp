#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StageTestKit.h"
#include "app/ComboCounter.h"
#include "app/Hud.h"
#include "graphics/TextFont.h"
#include "platform/SilentAudioSystem.h"
#include "stage/CStage.h"

namespace vorlith {
namespace {

TEST(HudTest, LastTwoDigitsDoNotCarryFrom99WithAGainEndingIn01) {
  EXPECT_EQ(Hud::AddGain(99, 1), 99u);
  EXPECT_EQ(Hud::AddGain(199, 101), 299u);
  EXPECT_EQ(Hud::AddGain(99, 2), 101u);
  EXPECT_EQ(Hud::AddGain(50, 1), 51u);
  EXPECT_EQ(Hud::AddGain(99, 100), 199u);
  EXPECT_EQ(Hud::AddGain(4294967295u, 1), 0u);  // ends in 95: wraps as usual
}

TEST(HudTest, ComboEndsThirtyOneFramesAfterItsLastKillAndPaysItsSquare) {
  ComboCounter combo;
  EXPECT_EQ(combo.Step(1), 0u);
  EXPECT_EQ(combo.GetCount(), 1);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(combo.Step(0), 0u);
  EXPECT_EQ(combo.Step(0), 100u);
  EXPECT_EQ(combo.GetCount(), 0);

  combo.Step(2);
  for (int i = 0; i < 20; ++i) combo.Step(0);
  combo.Step(3);  // within 30 frames: the combo goes on
  for (int i = 0; i < 30; ++i) combo.Step(0);
  EXPECT_EQ(combo.Step(0), 2500u);
  EXPECT_EQ(combo.Step(0), 0u);
}

struct HudFixture : testing::Test {
  HeadlessRenderDevice device;
  SilentAudioSystem audio;
  PadState pad;
  TextFont font;
  std::unique_ptr<CStage> stage;

  void SetUp() override {
    device.Create(640, 480, true);
    font.Create(&device, 12);
    stage = std::make_unique<CStage>(&device, &pad, &audio);
    ASSERT_TRUE(stage->Init());
    auto* ship = new MoverMyShip(&pad);
    ship->SetPosition(12.345f, 90, 0);
    stage->SetMoverMyShip(&ship, 1);
    ASSERT_TRUE(device.BeginScene());
  }
  void TearDown() override {
    stage->ClearMovers();
    stage.reset();
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : device.GetTexts()) texts.push_back(call.text);
    return texts;
  }
};

TEST_F(HudFixture, LineShowsStageAndScoreAndTakesTheStagePoints) {
  stage->GetManager()->AddScore(1);
  stage->Step();
  std::uint32_t score = 99;
  Hud::DrawLine(font, 3, score, *stage);
  EXPECT_EQ(score, 99u);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Stage 3", "000000099"}));
  EXPECT_EQ(device.GetTexts()[0].x, 200);
  EXPECT_EQ(device.GetTexts()[1].x, 500);
  EXPECT_EQ(device.GetTexts()[1].y, 15);
  EXPECT_EQ(stage->TakeScore(), 0);
}

TEST_F(HudFixture, DebugOverlayListsSixLinesAndRestartsTheDrawnCounts) {
  auto* enemy = new MoverEnemy();
  stage->GetManager()->CreateMoverEnemy(enemy);
  auto* bullet = new MoverBullet();
  stage->GetManager()->CreateMoverBullet(bullet);
  MoverEnemy::ResetVisibleEnemyCount();
  MoverBullet::ResetVisibleBulletCount();
  stage->Draw();
  std::int32_t currentTime = 7;
  const std::vector<std::string> before = Texts();
  Hud::DrawDebug(font, *stage, currentTime, 60);
  std::vector<std::string> lines = Texts();
  lines.erase(lines.begin(), lines.begin() + static_cast<long>(before.size()));
  const std::string killed = "KilledEnemyNum " + std::to_string(MoverEnemy::GetKilledEnemyCount());
  EXPECT_EQ(lines,
            (std::vector<std::string>{"Pos(12.35, 90.00)", "VisibleBulletNum 1",
                                      "VisibleEnemyNum 1", killed, "CurrentTime 7", "FPS 60"}));
  EXPECT_EQ(device.GetTexts().back().x, 20);
  EXPECT_EQ(device.GetTexts().back().y, 120);
  EXPECT_EQ(currentTime, 8);
  EXPECT_EQ(MoverBullet::GetVisibleBulletCount(), 0);
  EXPECT_EQ(MoverEnemy::GetVisibleEnemyCount(), 0);
}

}  // namespace
}  // namespace vorlith
