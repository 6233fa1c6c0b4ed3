#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"
#include "graphics/Transforms.h"

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

using testkit::SmallStage;

// Ages at which the enemies fired, over `frames` updates of each.
std::vector<int> FiringAges(SmallStage& stage, const std::vector<MoverEnemy*>& enemies,
                            int frames) {
  std::vector<int> ages;
  for (int i = 0; i < frames; ++i) {
    for (MoverEnemy* enemy : enemies) {
      const int before = stage.CountBullets(), age = enemy->GetAge();
      enemy->Update();
      if (stage.CountBullets() > before) ages.push_back(age);
    }
  }
  return ages;
}

TEST(MoverEnemyTest, FiringRhythmCountsFromFireStartAlsoBackwardsAndSharesLimitedVolleys) {
  SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 50, 15, -1, 0, 0);
  MoverEnemy* one = stage.PlaceEnemy(20, -5);
  MoverEnemy* two = stage.PlaceEnemy(80, -5);
  one->SetShot(&bullet, 0, 1, -1);
  EXPECT_EQ(FiringAges(stage, {one}, 61), (std::vector<int>{5, 20, 35, 50}));

  bullet.SetFire(0, 0, 2, 3, 0, 0);  // three volleys for both together
  two->SetShot(&bullet, 0, 1, -1);
  EXPECT_EQ(FiringAges(stage, {one, two}, 10), (std::vector<int>{0, 62, 2}));
  EXPECT_EQ(bullet.GetShotsLeft(), 0);
  bullet.SetFire(0, 0, 0, -1, 0, 0);  // an interval of 0 never fires
  EXPECT_TRUE(FiringAges(stage, {one}, 3).empty());
}

TEST(MoverEnemyTest, AKilledEnemyFiresFirstAgesScoresOnceAndIsNoLongerDrawn) {
  SmallStage stage;
  stage.AddShip(50, 90);
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverEnemy* enemy = stage.PlaceEnemy(50, 50);
  enemy->SetShot(&bullet, 0, 1, -1);
  enemy->SetScore(100);
  MoverEnemy* waiting = stage.PlaceEnemy(50, 50, 3);  // timer not 0: not hit-testable
  waiting->SetTimer(9999);
  stage.PlaceBullet(50, 50, 1);
  enemy->Draw();
  enemy->Update();
  waiting->Update();
  EXPECT_EQ(std::tuple(enemy->IsDead(), stage.CountBullets(), enemy->GetAge(), waiting->GetHp()),
            std::tuple(true, 2, 1, 3));
  EXPECT_EQ(std::tuple(stage.manager->GetKillCount(), stage.Counts().killedEnemies),
            std::tuple(1, 1));
  EXPECT_EQ(stage.manager->TakeScore(), 100);
  enemy->Update();
  enemy->Draw();
  EXPECT_EQ(std::tuple(stage.manager->TakeScore(), enemy->GetAge()), std::tuple(0, 1));
  EXPECT_EQ(stage.Counts().visibleEnemies, 1);
}

// Leaving the field is no kill and the dead linger 101 updates: both show in the traces; here
// an enemy that left the field moves no more.
TEST(MoverEnemyTest, AnEnemyOutOfTheFieldStopsAndCopiesStartDownwardOrDropOut) {
  SmallStage stage;
  MoverEnemy* left = stage.PlaceEnemy(30, 110.5f);
  left->SetMotion(1, 0, 0, 0, 0, 1);
  left->Update();
  left->Move();
  EXPECT_EQ(std::tuple(left->IsDead(), left->GetPosition().y), std::tuple(true, 110.5f));
  MoverEnemy noShip, copy, late;
  for (MoverEnemy* enemy : {&noShip, &copy, &late}) stage.Join(*enemy);
  noShip.SetMotion(1, 0, 0, 0, 0, 0);
  noShip.Init();
  EXPECT_TRUE(testkit::Flies(&noShip, 0, 1));
  MoverMyShip* ship = stage.AddShip(50, 90, 1);
  copy.SetMotion(2, 0.05f, 0, 0, 0, 0);
  copy.SetPosition(30, -10, 0);
  copy.Init();
  copy.Move();
  EXPECT_FALSE(copy.IsFinished());
  EXPECT_TRUE(testkit::At(&copy, 30, -8.95f));
  ship->Damage(1);
  ship->Update();
  late.Init();
  EXPECT_TRUE(late.IsFinished());
}

// Its phases and volleys show in the boss replay's committed trace. The first stage's boss at (50,
// 10) with 100 hp, its three hit boxes and contact box, phase starts 100 and 200, firing the 12-way
// spread and the aimed pair from stage time 0; and a ship out of its reach, 75 right of and 100
// below where the boss fires first.
struct BossStage : testkit::SmallStage {
  MoverBoss* boss = new MoverBoss();

  BossStage() {
    boss->AddShot(AddShotTemplate(1, 180, 3, 12));
    boss->AddShot(AddShotTemplate(3, 180, 1));
    boss->SetPosition(50, 10, 0);
    boss->SetHp(100);
    boss->AddHitBox(-5, 5, 5, -5);
    boss->AddHitBox(-25, -15, 5, -5);
    boss->AddHitBox(15, 25, 5, -5);
    boss->AddContactBox(-25, 25, 8, -8);
    boss->SetScore(100000);
    const int phaseStarts[] = {100, 200, -1, -1};
    for (int phase = 0; phase < 4; ++phase) boss->SetPhaseStart(phase, phaseStarts[phase]);
    boss->SetShot(nullptr, 0, 10, 1);
    manager->AddBoss(boss);
    AddShip(125, 116, 1000000);
  }
};

// Its descent turns into the dance only with less than half its hit points: at exactly half
// it descends to the bottom and rises.
TEST(MoverBossTest, TheDanceStartsOnlyBelowHalfItsHitPoints) {
  for (int damage : {50, 51}) {
    BossStage stage;
    stage.boss->Damage(damage);
    for (int i = 0; i < 300; ++i) stage.Frame();
    EXPECT_EQ(stage.boss->GetPhase(), damage == 50 ? 2 : 3) << damage;
  }
}

// Its contact box hurts the ship every frame and the ship hurts its centre; only bullets
// inside its hit boxes hurt it, and a bullet in two boxes hits twice.
TEST(MoverBossTest, ContactAndHitBoxes) {
  BossStage stage;
  stage.manager->UpdateFrame(stage.pad);  // enters play
  stage.ship->SetHp(100);
  stage.ship->SetPosition(75, 18, 0);  // the corner of the contact box
  stage.manager->UpdateFrame(stage.pad);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.ship->GetHp(), stage.boss->GetHp()), std::tuple(90, 100));
  stage.ship->SetPosition(51, 11, 0);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.ship->GetHp(), stage.boss->GetHp()), std::tuple(85, 99));

  stage.PlaceBullet(50 - 20, 10, 3);
  stage.PlaceBullet(50 - 10, 10, 50);  // between the blocks
  stage.PlaceBullet(50 + 25, 15, 4);   // corner of the right block
  stage.boss->Update();
  EXPECT_EQ(stage.boss->GetHp(), 99 - 3 - 4);
  MoverBoss overlapping;
  stage.Join(overlapping);
  overlapping.SetHp(10);
  overlapping.AddHitBox(-5, 5, 5, -5);
  overlapping.AddHitBox(-1, 1, 1, -1);
  overlapping.SetPosition(30, 10, 0);
  overlapping.Update();
  EXPECT_EQ(overlapping.GetHp(), 4);  // the bullet of power 3 in both boxes
}

TEST(MoverBossTest, FiresOnlyTheTemplatesItHasAndNeedsNoShip) {
  testkit::SmallStage stage;
  MoverBullet bullet;
  bullet.SetFire(0, 0, 1, -1, 0, 0);
  MoverBoss none, one;
  none.AddContactBox(-5, 5, 5, -5);
  one.AddShot(&bullet);
  for (MoverBoss* boss : {&none, &one}) {
    stage.Join(*boss);
    boss->SetPhaseStart(1, 1);
    boss->Update();
    boss->Update();
  }
  EXPECT_EQ(std::tuple(one.GetPhase(), stage.CountBullets()), std::tuple(1, 2));  // both sides
  EXPECT_FLOAT_EQ(bullet.GetPosition().x, 20.0f);  // the template keeps the last offset
}

TEST(MoverBossTest, GaugesStandAt460AndDefeatScoresOnceThenNothingRunsOrDraws) {
  BossStage stage;
  stage.manager->UpdateFrame(stage.pad);
  const LineDrawer* bar = stage.boss->GetHpBar();
  EXPECT_EQ(std::tuple(bar->GetPoint(0).x, bar->GetPoint(1).y), std::tuple(460.0f, 280.0f));
  stage.boss->Damage(40);
  stage.device.BeginScene();
  stage.boss->Draw();
  EXPECT_EQ(std::tuple(bar->GetPoint(1).y, stage.boss->GetHpMaxBar()->GetPoint(1).y),
            std::tuple(320.0f, 280.0f));
  const MoverCounts drawn = stage.Counts();
  stage.boss->Damage(60);
  stage.manager->UpdateFrame(stage.pad);
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(stage.boss->IsFinished(), stage.Counts().killedEnemies,
                       stage.manager->TakeScore(), stage.manager->GetKillCount()),
            std::tuple(true, 1, 100000, 1));
  EXPECT_EQ(stage.boss->GetAge(), 2);  // the frame it fell in still counted its age
  stage.boss->Draw();
  EXPECT_EQ(stage.Counts().visibleEnemies, drawn.visibleEnemies);
}

TEST(MoverMyShipTest, StepsThatWouldLeaveTheFieldAreDroppedPerAxis) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(99.5f, 50);
  stage.pad.right = stage.pad.up = 1;
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 99.5f, 49));
  ship->SetPosition(99, 1, 0);
  ship->Move(stage.pad);
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 100, 0));  // may stand exactly on the edges
  stage.pad.right = 0;
  stage.pad.left = stage.pad.down = 1;  // up and down cancel
  ship->SetPosition(1, 100, 0);
  ship->Move(stage.pad);
  ship->Move(stage.pad);
  EXPECT_TRUE(testkit::At(ship, 0, 100));
}

// Held fire's rhythm (a volley every interval + 1 frames) and its count frozen while fire is
// let go show in the committed replays' traces; here the interval's floor.
TEST(MoverMyShipTest, TheShotIntervalShortensToOneAndNoFurther) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90);
  MoverBullet bullet;
  ship->SetShotTemplate(&bullet);
  stage.pad.buttons[0] = 1;
  for (int i = 0; i < 8; ++i) ship->ShortenInterval(1);  // 8 down to 1, and no further
  std::vector<int> volleys;  // updates in which a volley leaves; the shots stand still
  for (int frame = 0; frame < 6; ++frame) {
    const int before = stage.CountBullets();
    ship->Update(stage.pad);
    if (stage.CountBullets() > before) volleys.push_back(frame);
  }
  EXPECT_EQ(volleys, (std::vector<int>{0, 2, 4}));
  MoverMyShip other;
  other.ShortenInterval(5);
  other.ShortenInterval(1);  // 3 - 1 = 2 is kept
  EXPECT_EQ(other.GetShotInterval(), 2);
  other.ShortenInterval(5);  // 2 - 5 < 2: the floor
  EXPECT_EQ(other.GetShotInterval(), 1);
}

TEST(MoverMyShipTest, BulletsAndEnemiesHurtWithoutFloorTheLastPointCountsAndBossesDoNot) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50);
  stage.PlaceEnemy(51, 51, 1);
  for (int i = 0; i < 3; ++i)
    stage.manager->UpdateFrame(stage.pad);  // dies in the first, timer still 0
  EXPECT_EQ(ship->GetHp(), 90);
  MoverEnemy* tough = stage.PlaceEnemy(50, 49, 100);
  for (int i = 0; i < 3; ++i) stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(ship->GetHp(), tough->GetHp()), std::tuple(75, 97));

  tough->SetPosition(0, 0, 0);
  ship->Damage(72);
  MoverBullet* bullet = stage.PlaceBullet(52, 48, 5);
  stage.manager->TakeScore();
  stage.manager->UpdateFrame(stage.pad);
  EXPECT_EQ(std::tuple(ship->GetHp(), ship->IsFinished(), bullet->GetHp()),
            std::tuple(-2, true, 0));
  EXPECT_EQ(stage.manager->TakeScore(), 1);  // the ship's own point, before the flag

  SmallStage other;  // touching a boss in play hurts only the boss
  ship = other.AddShip(50, 50);
  MoverBoss boss;
  boss.SetHp(10);
  boss.SetPosition(52, 52, 0);
  boss.SetTimer(0);
  other.manager->CreateMoverBoss(&boss);
  ship->Update();
  EXPECT_EQ(std::tuple(boss.GetHp(), ship->GetHp()), std::tuple(9, 100));
  boss.SetTimer(5);
  ship->Update();
  EXPECT_EQ(boss.GetHp(), 9);
}

TEST(MoverMyShipTest, GaugesGrowUpFromY380AndStayAfterTheEnd) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 50, 100);
  EXPECT_EQ(std::tuple(ship->GetHpMaxBar()->GetPoint(0).y, ship->GetHpMaxBar()->GetPoint(1).y,
                       ship->GetHpBar()->GetPoint(1).x),
            std::tuple(380.0f, 280.0f, 440.0f));
  ship->RaiseHpMax(20);
  ship->Damage(200);
  ship->Update();
  ASSERT_TRUE(ship->IsFinished());
  stage.device.BeginScene();
  ship->Draw();
  EXPECT_EQ(std::pair(ship->GetHpBar()->GetPoint(1).y, ship->GetHpMaxBar()->GetPoint(1).y),
            std::pair(380.0f, 260.0f));
}

// An item of the given kind standing on the ship's box edge, picked up by one update.
MoverItem* PickUp(SmallStage& stage, int kind, float amount, MoverBullet* weapon = nullptr) {
  auto* item = new MoverItem();
  item->SetItem(kind, amount, 0, 0, 0);
  item->SetWeapon(weapon);
  item->SetPosition(stage.ship->GetPosition().x + 2, stage.ship->GetPosition().y, 0);
  item->Init();
  stage.manager->CreateMoverItem(item);
  item->Update();
  return item;
}

TEST(MoverItemTest, EveryKindActsOnTheShipWithItsPopup) {
  SmallStage stage;
  MoverMyShip* ship = stage.AddShip(50, 90, 100);
  ship->Damage(10);
  MoverItem* heal = PickUp(stage, kItemHeal, 30);
  EXPECT_EQ(
      std::tuple(ship->GetHp(), heal->GetPopupNumber(), heal->GetPopupColor(), heal->IsGone()),
      std::tuple(100, 30, 0xFF6464FFu, true));
  stage.device.BeginScene();
  heal->StepDrawnFrame();
  heal->Draw();  // gone: no model and no spin, but the pop-up
  EXPECT_FLOAT_EQ(heal->GetSpin(), 0.0f);
  EXPECT_EQ(testkit::Texts(stage.device), std::vector<std::string>{"30"});

  MoverBullet laser;
  MoverItem* weapon = PickUp(stage, kItemWeapon, 0, &laser);
  EXPECT_EQ(ship->GetShotTemplate(), &laser);
  EXPECT_STREQ(weapon->GetPopupText(), "Weapon Change!");
  MoverItem* points = PickUp(stage, kItemScore, 250.7f);
  EXPECT_EQ(std::tuple(stage.manager->TakeScore(), points->GetPopupColor()),
            std::tuple(250, 0xFFFFFF64u));
  PickUp(stage, kItemHpMax, 10);  // its pop-up and Shoot Ability's show in ReplayFlowTest
  EXPECT_EQ(std::tuple(ship->GetHp(), ship->GetHpMax()), std::tuple(110, 110));

  PickUp(stage, kItemShootAbility, 2.9f);
  EXPECT_EQ(ship->GetShotInterval(), 6);
  for (int kind : {static_cast<int>(kItemNothing), 17}) {
    MoverItem* nothing = PickUp(stage, kind, 5);
    EXPECT_EQ(std::tuple(nothing->IsGone(), nothing->GetPopupFrames()), std::tuple(true, 0));
  }
  EXPECT_EQ(std::tuple(ship->GetHp(), stage.manager->TakeScore()), std::tuple(110, 0));

  PickUp(stage, kItemWeapon, 0, nullptr);  // a null weapon: the ship stops firing
  stage.pad.buttons[0] = 1;
  ship->Update();
  EXPECT_EQ(stage.CountBullets(), 0);
}

// Leaving play past the outer field and lingering there show in the traces (the item count);
// here an item gone out of play moves no more.
TEST(MoverItemTest, NoPickUpWithoutAShipOutsideTheBoxOrBeforePlayNorMoveOutOfPlay) {
  SmallStage stage;  // no ship yet: nothing to pick an item up
  MoverItem item;
  item.SetMotion(1, 0, 0, 0, 0, 0);
  item.SetPosition(80, 111, 0);
  item.Init();
  item.Update();
  item.Move();
  EXPECT_TRUE(item.IsGone());
  EXPECT_TRUE(testkit::At(&item, 80, 111));

  MoverItem loose;
  stage.Join(loose);
  loose.SetPosition(50, 50, 0);
  loose.Init();
  loose.Update();
  EXPECT_FALSE(loose.IsGone());

  MoverMyShip* ship = stage.AddShip(50, 90, 100);
  loose.SetPosition(50, 87.5f, 0);
  loose.Update();
  EXPECT_FALSE(loose.IsGone());
  loose.SetTimer(5);  // not in play yet
  loose.SetPosition(50, 90, 0);
  loose.Update();
  EXPECT_FALSE(loose.IsGone());
  ship->Damage(100);  // a finished ship still picks up
  ship->Update();
  loose.SetTimer(0);
  loose.Update();
  EXPECT_TRUE(loose.IsGone());
}

// A frame shows the spin the item had before that frame's step: 0, then 5, then 10 degrees.
TEST(MoverItemTest, DrawsTheSpinOfTheFrameBeforeItsStep) {
  SmallStage stage;
  Model model(VORLITH_DATA_DIR "/model/item_blue.x");
  ASSERT_TRUE(model.Load(&stage.device)) << model.GetLoadError();
  MoverItem item;
  item.SetModel(&model);
  item.SetPosition(30, 40, 0);
  for (float spin : {0.0f, 5.0f, 10.0f}) {
    item.StepDrawnFrame();
    item.Draw();
    const Matrix expected = MakeWorldMatrix(30, 40, 0, 0, spin, 0, 1);
    for (int i = 0; i < 16; ++i)
      EXPECT_FLOAT_EQ(stage.device.draws.back().world.m[i / 4][i % 4], expected.m[i / 4][i % 4]);
  }
}

}  // namespace
}  // namespace vorlith
