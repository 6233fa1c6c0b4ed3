#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "movers/Mover.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

// Exposes the motion step of the base class, as kinds run it.
class MotionProbe : public MoverBullet {
 public:
  void Step() { RunMotion(motionType); }
};

TEST(MoverTest, HitBoxHalfSideIsTruncatedAndEdgesAreInside) {
  Mover mover;
  mover.SetPosition(50, 50, 0);
  EXPECT_TRUE(mover.Contains({52, 48, 0}));
  EXPECT_TRUE(mover.Contains({48, 52, 0}));
  EXPECT_FALSE(mover.Contains({52.5f, 50, 0}));  // size 5 gives +-2, not 2.5
  mover.SetSize(4);
  EXPECT_TRUE(mover.Contains({52, 52, 0}));
  EXPECT_FALSE(mover.Contains({50, 47.9f, 0}));
}

TEST(MoverTest, OuterFieldIsTenUnitsOnEverySide) {
  Mover mover;
  for (float edge : {-10.0f, 110.0f}) {
    mover.SetPosition(edge, 50, 0);
    EXPECT_TRUE(mover.InOuterField());
    mover.SetPosition(50, edge, 0);
    EXPECT_TRUE(mover.InOuterField());
  }
  mover.SetPosition(-10.01f, 50, 0);
  EXPECT_FALSE(mover.InOuterField());
  mover.SetPosition(50, 110.5f, 0);  // the vertical bound is 110, not 120
  EXPECT_FALSE(mover.InOuterField());
}

TEST(MoverTest, HitPointsStayWithinZeroAndMaximum) {
  Mover mover;
  EXPECT_EQ(mover.GetHpMax(), 1);  // defined before any SetHp
  mover.SetHp(100);
  mover.Damage(50);
  mover.RaiseHpMax(10);
  EXPECT_EQ(mover.GetHp(), 60);
  EXPECT_EQ(mover.GetHpMax(), 110);
  mover.Heal(1000);
  EXPECT_EQ(mover.GetHp(), 110);
  mover.Damage(999999);
  EXPECT_EQ(mover.GetHp(), 0);
}

TEST(MoverTest, StraightAndAcceleratingMotions) {
  MotionProbe mover;
  mover.SetMotion(1, 0, 0, 0, 2.0f, -1.0f);
  mover.Step();
  mover.Step();
  EXPECT_FLOAT_EQ(mover.GetPosition().x, 4.0f);
  EXPECT_FLOAT_EQ(mover.GetPosition().y, -2.0f);

  MotionProbe accelerating;  // heading down at speed 1, growing by 0.05 a frame
  accelerating.SetMotion(2, 0.05f, 0, 0, 0, 0);
  accelerating.Init();
  for (int i = 0; i < 3; ++i) accelerating.Step();
  EXPECT_NEAR(accelerating.GetPosition().y, 1.05f + 1.1f + 1.15f, 1e-5);
  EXPECT_NEAR(accelerating.GetPosition().x, 0.0f, 1e-5);
  EXPECT_NEAR(accelerating.GetSpeed(), 1.15f, 1e-6);

  MotionProbe standing;  // from speed 0 the velocity stays zero while the speed grows
  standing.SetSpeed(0);
  standing.SetMotion(2, 0.5f, 0, 0, 0, 0);
  standing.Init();
  for (int i = 0; i < 4; ++i) standing.Step();
  EXPECT_FLOAT_EQ(standing.GetPosition().y, 0.0f);
  EXPECT_FLOAT_EQ(standing.GetSpeed(), 2.0f);
}

TEST(MoverTest, HomingFollowsTheShipAndKeepsVelocityWithoutOne) {
  MotionProbe loose;  // no manager at all: keeps its velocity
  loose.SetMotion(4, 0, 0, 0, 1.0f, 1.0f);
  loose.Step();
  EXPECT_FLOAT_EQ(loose.GetPosition().x, 1.0f);

  SmallStage stage;
  MotionProbe orphan;  // a manager but no ship in slot 0
  orphan.SetMotion(4, 0, 0, 0, 1.0f, 0);
  orphan.Step();
  EXPECT_FLOAT_EQ(orphan.GetPosition().x, 1.0f);

  stage.AddShip(30, 40);
  MotionProbe homing;
  homing.SetSpeed(5);
  homing.SetMotion(4, 0, 0, 0, 0, 0);
  homing.Step();
  EXPECT_NEAR(homing.GetPosition().x, 3.0f, 1e-5);
  EXPECT_NEAR(homing.GetPosition().y, 4.0f, 1e-5);
  homing.SetPosition(30, 40, 0);  // on the ship: previous velocity
  homing.Step();
  EXPECT_NEAR(homing.GetPosition().x, 33.0f, 1e-5);
}

TEST(MoverTest, CurveMotionsSetPositionsFromTheirAngle) {
  struct Case {
    int type;
    float t, expectX, expectY;
  };
  // p1 = 50, p2 = 50, p3 = 30, p4 = 20; t in degrees
  const Case cases[] = {
      {5, 0, 80, 50},
      {5, 90, 50, 70},
      {7, 30, 65, 70},
      {8, 30, 50 + 30 * 0.8660254f, 70},
      {8, 45, 80, 50 + 20 * 0.7071068f},
      {9, 0, 80, 50},
      {9, 90, 50 + 30 * 1.5707964f, 70},
  };
  for (const Case& c : cases) {
    MotionProbe mover;
    mover.SetSpeed(7);
    mover.SetMotion(c.type, 50, 50, 30, 20, c.t);
    mover.Step();
    EXPECT_NEAR(mover.GetPosition().x, c.expectX, 1e-4) << "type " << c.type << " t " << c.t;
    EXPECT_NEAR(mover.GetPosition().y, c.expectY, 1e-4) << "type " << c.type << " t " << c.t;
    EXPECT_FLOAT_EQ(mover.GetMotionParam(4), c.t + 7);
  }
}

TEST(MoverTest, HyperbolaSkipsItsAsymptoteOnlyForPositiveRemainders) {
  MotionProbe mover;
  mover.SetSpeed(45);
  mover.SetMotion(6, 50, 50, 10, 20, 45);  // k = sqrt(10 * 30)
  mover.Step();
  EXPECT_NEAR(mover.GetPosition().x, 50 + 10 / 0.7071068f, 1e-3);
  EXPECT_NEAR(mover.GetPosition().y, 50 + 17.320508f, 1e-3);
  mover.Step();  // t = 90 becomes -89
  EXPECT_FLOAT_EQ(mover.GetMotionParam(4), -89.0f + 45);
  EXPECT_NEAR(mover.GetPosition().y, 50 - 17.320508f * 57.289962f, 0.5);

  MotionProbe negative;
  negative.SetSpeed(1);
  negative.SetMotion(6, 50, 50, 10, 20, -90);
  negative.Step();
  EXPECT_FLOAT_EQ(negative.GetMotionParam(4), -89.0f);  // -90 % 180 is -90: not adjusted

  MotionProbe wide;
  wide.SetSpeed(1);
  wide.SetMotion(6, 0, 0, 10, 20, 450);
  wide.Step();
  EXPECT_FLOAT_EQ(wide.GetMotionParam(4), 450.0f - 179 + 1);
}

TEST(MoverTest, PopupCountsDownAndShowsTextOrNumber) {
  SmallStage stage;
  MoverEnemy enemy;
  enemy.SetPosition(50, 50, 0);
  enemy.SetScore(100);
  enemy.SetHp(1);
  enemy.Damage(1);
  enemy.Update();  // dies: pop-up of its score
  ASSERT_EQ(enemy.GetPopupFrames(), 60);
  ASSERT_TRUE(stage.device.BeginScene());
  for (int i = 0; i < 61; ++i) enemy.DrawPopup();
  EXPECT_EQ(enemy.GetPopupFrames(), 0);
  const auto& texts = stage.device.GetTexts();
  ASSERT_EQ(texts.size(), 60u);
  EXPECT_EQ(texts[0].text, "100");
  EXPECT_EQ(texts[0].argb, 0xFFFFFF64u);
}

}  // namespace
}  // namespace vorlith
