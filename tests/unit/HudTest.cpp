#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "app/Hud.h"
#include "graphics/TextFont.h"

namespace vorlith {
namespace {

using HudTest = testkit::StartedStage;

TEST_F(HudTest, GainsAddWithoutCarryingFrom99AndTheLinesShowScoreAndCounts) {
  const std::uint32_t cases[][3] = {{99, 1, 99},        {199, 101, 299}, {99, 2, 101},
                                    {50, 1, 51},        {99, 100, 199},  {1099, 1, 1099},
                                    {4294967295u, 1, 0}};  // ends in 95: wraps as usual
  for (const auto& c : cases) EXPECT_EQ(Hud::AddGain(c[0], c[1]), c[2]) << c[0] << " + " << c[1];

  // The line shows the score and the debug overlay restarts the drawn counts. (The combo's
  // timing and payment show in the committed replays' traces: combo and score.)
  TextFont font;
  font.Create(&device, dialogs, 12);
  AddShip(12.345f, 90);
  Manager().CreateMoverEnemy(new MoverEnemy());
  Manager().CreateMoverBullet(new MoverBullet());
  stage->Step(pad);
  device.BeginScene();
  Manager().DrawMovers();
  std::int32_t currentTime = 7;
  MoverCounts counts = Manager().GetMoverCounts();
  counts.killedEnemies = 4;
  Hud::DrawDebug(font, *stage, counts, currentTime, 60);
  Hud::DrawLine(font, 3, 99);
  EXPECT_EQ(testkit::Texts(device),
            (std::vector<std::string>{"Pos(12.35, 90.00)", "VisibleBulletNum 1",
                                      "VisibleEnemyNum 1", "KilledEnemyNum 4", "CurrentTime 7",
                                      "FPS 60", "Stage 3", "000000099"}));
  const auto& texts = device.texts;
  EXPECT_EQ(std::tuple(texts[5].x, texts[5].y, texts[6].x, texts[7].x, texts[7].y),
            std::tuple(20, 120, 200, 500, 15));
  EXPECT_EQ(
      std::tuple(currentTime, counts.visibleBullets, counts.visibleEnemies, counts.killedEnemies),
      std::tuple(8, 0, 0, 4));
}

}  // namespace
}  // namespace vorlith
