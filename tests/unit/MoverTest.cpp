#include <gtest/gtest.h>

#include "StageTestKit.h"

namespace vorlith {
namespace {

using testkit::At;

// Exposes the motion step of the base class, as kinds run it.
struct MotionProbe : MoverBullet {
  MotionProbe(int type, float p1, float p4, float p5, float speed = 1) {
    SetSpeed(speed);
    SetMotion(type, p1, 50, 30, p4, p5);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) RunMotion(motionType);
  }
};

TEST(MoverTest, HitBoxHalfSideIsTruncatedEdgesAreInsideAndTheOuterFieldIsTenWide) {
  Mover mover;
  mover.SetPosition(50, 50, 0);
  EXPECT_TRUE(mover.Contains({52, 48, 0}));
  EXPECT_TRUE(mover.Contains({48, 52, 0}));
  EXPECT_FALSE(mover.Contains({52.5f, 50, 0}));  // size 5 gives +-2, not 2.5
  mover.SetSize(4);
  EXPECT_TRUE(mover.Contains({52, 52, 0}));
  EXPECT_FALSE(mover.Contains({50, 47.9f, 0}));
  const std::tuple<float, float, bool> places[] = {
      {-10, 50, true},      {110, 50, true},    {50, -10, true}, {50, 110, true},
      {-10.01f, 50, false}, {50, 110.5f, false}};  // the vertical bound is 110, not 120
  for (const auto& [x, y, inside] : places) {
    mover.SetPosition(x, y, 0);
    EXPECT_EQ(mover.InOuterField(), inside) << x << ", " << y;
  }
}

// Straight and accelerating motion at speed show in the traces; here what stage 1 never meets.
TEST(MoverTest, AcceleratingFromRestAndHomingMotions) {
  MotionProbe standing(2, 0.5f, 0, 0, 0);  // from speed 0 the velocity stays zero
  standing.Init();
  standing.Steps(4);
  EXPECT_TRUE(At(&standing, 0, 0));
  EXPECT_FLOAT_EQ(standing.GetSpeed(), 2.0f);

  testkit::SmallStage stage;
  MotionProbe homing(4, 0, 1, 0, 5);
  stage.Join(homing);
  homing.Steps(1);  // no ship in slot 0: keeps its velocity
  EXPECT_TRUE(At(&homing, 1, 0));
  stage.AddShip(16, 20);
  homing.Steps(1);
  EXPECT_TRUE(At(&homing, 4, 4));
  homing.SetPosition(16, 20, 0);  // on the ship: the previous velocity
  homing.Steps(1);
  EXPECT_TRUE(At(&homing, 19, 24));
}

TEST(MoverTest, CurveMotionsSetPositionsFromTheirAngleAndTheHyperbolaSkipsItsAsymptote) {
  // p1 = 50, p2 = 50, p3 = 30, p4 = 20; t in degrees
  const std::tuple<int, float, float, float> cases[] = {
      {5, 0, 80, 50},
      {5, 90, 50, 70},
      {7, 30, 65, 70},
      {8, 30, 50 + 30 * 0.8660254f, 70},
      {8, 45, 80, 50 + 20 * 0.7071068f},
      {9, 90, 50 + 30 * 1.5707964f, 70},
      {9, 180, 20, 50 + 20 * 3.1415927f},
  };
  for (const auto& [type, t, x, y] : cases) {
    MotionProbe mover(type, 50, 20, t, 7);
    mover.Steps(1);
    EXPECT_TRUE(At(&mover, x, y)) << "type " << type << " t " << t;
    EXPECT_FLOAT_EQ(mover.GetMotionParam(4), t + 7);
  }
  // The hyperbola skips its asymptote only for positive remainders.
  MotionProbe hyperbola(6, 50, 50, 45, 45);  // p3 = 30, p4 = 50: k = sqrt(20 * 80) = 40
  hyperbola.Steps(1);
  EXPECT_NEAR(hyperbola.GetPosition().x, 50 + 30 / 0.7071068f, 1e-3);
  EXPECT_NEAR(hyperbola.GetPosition().y, 90, 1e-3);
  hyperbola.Steps(1);  // t = 90 becomes -89
  EXPECT_FLOAT_EQ(hyperbola.GetMotionParam(4), -89.0f + 45);
  EXPECT_NEAR(hyperbola.GetPosition().y, 50 - 40 * 57.289962f, 0.5);
  for (float t : {-90.0f, 450.0f}) {  // -90 % 180 is -90: not adjusted
    MotionProbe other(6, 0, 50, t);
    other.Steps(1);
    EXPECT_FLOAT_EQ(other.GetMotionParam(4), t < 0 ? t + 1 : t - 179 + 1);
  }
}

TEST(MoverTest, PopupIsCentredOnThePlaceMappedToTheScreen) {
  testkit::SmallStage stage;
  MoverEnemy enemy;
  stage.Join(enemy);
  enemy.SetPosition(50, 20, 0);
  enemy.SetScore(100);
  enemy.Damage(1);
  enemy.Update();  // dies: pop-up of its score
  stage.device.BeginScene();
  enemy.StepDrawnFrame();
  enemy.DrawPopup();
  const auto& texts = stage.device.texts;
  int width = 0, height = 0;  // centred on the field position mapped to the screen
  stage.device.MeasureText(texts[0].font, "100", width, height);
  EXPECT_EQ(std::tuple(texts[0].text, texts[0].argb, texts[0].x, texts[0].y),
            std::tuple("100", 0xFFFFFF64u, 157 + 245 - width / 2, 62 + 100 - height / 2));
}

using testkit::Flies;

// A template whose volleys follow `pattern`: 1 two parallel, 2 three, 3 a spread, else one.
MoverBullet Template(int pattern, int motion, float speed, float ways = 0, float step = 0) {
  MoverBullet bullet;
  bullet.SetSpeed(speed);
  bullet.SetMotion(motion, 0, 0, 0, 0, 0);
  bullet.SetFire(pattern, 0, 1, -1, ways, step);
  return bullet;
}

TEST(MoverShooterTest, ParallelShotsStandTwoApartThreeAheadAndKeepTheTemplateOffset) {
  testkit::SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);  // heading 0: up
  MoverBullet three = Template(2, 1, 3.0f), two = Template(1, 1, 3.0f);
  three.SetPosition(0, -1, 0);
  two.SetPosition(0, -1, 0);
  ship->FireVolley(&three);
  ship->FireVolley(&two);
  const float expectX[] = {48, 50, 52, 49, 51};
  ASSERT_EQ(stage.CountBullets(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(At(stage.Bullet(i), expectX[i], 86)) << i;
  EXPECT_TRUE(Flies(stage.Bullet(0), 0, -3));
}

TEST(MoverShooterTest, AimedShotsHeadForTheShipAndStartOnTheMirroredHeading) {
  testkit::SmallStage stage;
  MoverEnemy shooter;
  stage.Join(shooter);
  shooter.SetPosition(50, 10, 0);
  MoverBullet aimed = Template(4, 3, 5.0f);  // any other pattern: one bullet
  aimed.SetVelocity(1, 2);
  shooter.FireVolley(&aimed);  // no ship to aim at: the template's velocity
  EXPECT_TRUE(Flies(stage.Bullet(0), 1, 2));
  stage.AddShip(80, 50);
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(1), 3, 4));
  EXPECT_TRUE(At(stage.Bullet(1), 51.8f, 12.4f));
  stage.ship->SetPosition(80, -30, 0);  // above: flies up, but starts below-right
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(2), 3, -4));
  EXPECT_TRUE(At(stage.Bullet(2), 51.8f, 12.4f));
  stage.ship->SetPosition(50, 10, 0);  // on the shooter: heading and velocity unchanged
  shooter.FireVolley(&aimed);
  EXPECT_TRUE(Flies(stage.Bullet(3), 1, 2));
  EXPECT_TRUE(At(stage.Bullet(3), 50, 13));
}

TEST(MoverShooterTest, SpreadFansTheBaseVelocityAroundTheHeading) {
  testkit::SmallStage stage;
  MoverEnemy down;  // heading 180
  stage.Join(down);
  down.SetPosition(50, 50, 0);
  // Fired downwards (the enemies' and the boss's way) a spread shows in the traces; a ship,
  // heading 0, places it the other way round.
  MoverBullet three = Template(3, 1, 2.0f, 3, 30);
  MoverMyShip* up = stage.AddShip(50, 90);
  up->FireVolley(&three);
  EXPECT_TRUE(At(stage.Bullet(0), 48.5f, 90 - 3 - 3 * 0.8660254f));  // a = -30
  EXPECT_TRUE(Flies(stage.Bullet(0), -1, -2 * 0.8660254f));

  MoverBullet twelve = Template(3, 1, 3.0f, 12.9f, 10);  // 12.9 ways truncate to 12
  down.FireVolley(&twelve);
  ASSERT_EQ(stage.CountBullets(), 15);
  EXPECT_TRUE(Flies(stage.Bullet(3), 3 * 0.819152f, 3 * 0.573576f));    // a = -55 ...
  EXPECT_TRUE(Flies(stage.Bullet(14), -3 * 0.819152f, 3 * 0.573576f));  // ... to 55
  MoverBullet none = Template(3, 1, 3.0f, 0.5f, 10);
  down.FireVolley(&none);
  EXPECT_EQ(stage.CountBullets(), 15);
}

TEST(MoverShooterTest, BulletsRefusedByAFullKindAreReportedEachAndNotKept) {
  testkit::SmallStage stage;
  for (int i = 0; i < MoverManager::kBulletSlots - 1; ++i) stage.PlaceBullet(0, 0);
  MoverEnemy shooter;
  stage.Join(shooter);
  MoverBullet bullet = Template(2, 1, 1.0f);
  shooter.FireVolley(&bullet);  // one fits, two are refused (and freed: LeakSanitizer)
  EXPECT_EQ(stage.CountBullets(), MoverManager::kBulletSlots);
  ASSERT_EQ(stage.dialogs.shown.size(), 2u);
  EXPECT_EQ(stage.dialogs.shown[1], testkit::Message("Error", "MoverManager::CreateMoverBullet()"));
}

TEST(MoverBulletTest, FliesUntilTenUnitsOutsideAndHitsEveryOverlappingEnemyUntilRemoved) {
  testkit::SmallStage stage;
  MoverBullet bullet;
  stage.Join(bullet);
  bullet.SetMotion(4, 0, 0, 0, 0, -0.5f);  // homing, with no ship to follow
  bullet.SetPosition(50, -9.5f, 0);
  bullet.Move();  // at -9.5: in play, moves to -10
  bullet.Move();  // at -10: still in play, moves to -10.5
  bullet.Draw();
  EXPECT_FALSE(bullet.IsFinished());
  bullet.Move();
  bullet.Draw();
  EXPECT_EQ(std::tuple(bullet.IsFinished(), bullet.GetPosition().y, stage.Counts().visibleBullets),
            std::tuple(true, -10.5f, 1));

  // A bullet finished in its own update stays in its slot until the next frame reaches the
  // slot, after the enemies, which come first, have tested it once more.
  stage.AddShip(50, 90);
  MoverEnemy* first = stage.PlaceEnemy(30, 30, 10);
  MoverEnemy* second = stage.PlaceEnemy(31, 31, 10);
  MoverBullet* spent = stage.PlaceBullet(30.5f, 30.5f, 5);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(first->GetHp(), second->GetHp(), spent->IsFinished(), stage.CountBullets()),
            std::tuple(5, 5, true, 1));
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(first->IsDead(), second->IsDead(), stage.CountBullets()),
            std::tuple(true, true, 0));
}

}  // namespace
}  // namespace vorlith
