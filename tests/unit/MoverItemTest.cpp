#include <gtest/gtest.h>

#include "StageTestKit.h"
#include "graphics/Transforms.h"

namespace vorlith {
namespace {

using testkit::SmallStage;

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
