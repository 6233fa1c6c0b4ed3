#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/LineDrawer.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

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
