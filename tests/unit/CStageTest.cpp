#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "StageTestKit.h"
#include "app/ComboCounter.h"
#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "platform/SilentAudioSystem.h"
#include "stage/CStage.h"

namespace vorlith {
namespace {

using testkit::RecordingDialogs;

// A short, silent 8-bit mono WAVE file.
std::string WriteWave() {
  const std::string path = testing::TempDir() + "vorlith_stage_test.wav";
  const unsigned char wave[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                                'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                0x44, 0xAC, 0,   0,   0x44, 0xAC, 0, 0, 1,   0,   8,   0,
                                'd',  'a',  't', 'a', 4,    0,    0, 0, 128, 128, 128, 128};
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(wave, 1, sizeof wave, file);
  std::fclose(file);
  return path;
}

struct StageFixture : testing::Test {
  HeadlessRenderDevice device;
  RecordingDialogs dialogs;
  SilentAudioSystem audio;
  PadState pad;
  ComboCounter combo;
  // Registrations only ask whether a model is set; it is never loaded.
  std::unique_ptr<Model> testModel = std::make_unique<Model>("test.x");
  Model& model = *testModel;
  std::unique_ptr<CStage> stage;

  void SetUp() override {
    device.Create(640, 480, true);
    SetGraphicsDevice(&device);
    stage = std::make_unique<CStage>(&device, &pad, &audio);
    stage->SetComboCounter(&combo);
  }
  void TearDown() override {
    if (stage) stage->ClearMovers();
    stage.reset();
    testModel.reset();
    SetGraphicsDevice(nullptr);
  }

  MoverMyShip* AddShip(float x, float y, int hp) {
    auto* ship = new MoverMyShip(&pad);
    ship->SetPosition(x, y, 0);
    ship->SetHp(hp);
    stage->SetMoverMyShip(&ship, 1);
    return ship;
  }
  MoverBoss* AddBoss(int appear) {
    auto* boss = new MoverBoss();
    boss->SetModel(&model);
    boss->SetHp(10);
    boss->SetScore(100000);
    boss->SetPosition(50, 10, 0);
    boss->AddHitBox(-5, 5, 5, -5);
    boss->SetShot(nullptr, appear, 10, 1);
    stage->SetMoverBoss(&boss, 1);
    return boss;
  }
  std::vector<std::string> DrawnTexts() {
    std::vector<std::string> texts;
    for (const auto& call : device.GetTexts()) texts.push_back(call.text);
    return texts;
  }
  void DrawFrame() {
    ASSERT_TRUE(device.BeginScene());
    stage->Draw();
    device.EndScene();
  }
};

TEST_F(StageFixture, InitFailsWithoutASoundDeviceAndTheStageStaysInert) {
  audio.Faults().openDevice = true;
  EXPECT_FALSE(stage->Init());
  EXPECT_NE(stage->GetManager(), nullptr);
  EXPECT_EQ(Mover::GetManager(), stage->GetManager());
  stage->Step();
  stage->MoveAll();
  DrawFrame();
  EXPECT_EQ(stage->GetShipPosition().x, 0.0f);
  EXPECT_EQ(stage->GetShipSlots()[0], nullptr);
  stage.reset();
  EXPECT_EQ(Mover::GetManager(), nullptr);
}

TEST_F(StageFixture, RefusedTemplateIsDestroyedWithEveryEntryAfterIt) {
  ASSERT_TRUE(stage->Init());
  MoverEnemy* enemies[3] = {new MoverEnemy(), new MoverEnemy(), new MoverEnemy()};
  enemies[0]->SetModel(&model);
  enemies[2]->SetModel(&model);
  EXPECT_FALSE(stage->SetMoverEnemy(enemies, 3));  // LeakSanitizer checks the other two
  EXPECT_EQ(stage->GetManager()->GetEnemyPrototypeCount(), 1u);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].first, "Error! CStage::SetMoverEnemy()");
  EXPECT_EQ(dialogs.shown[0].second, "モデルが登録されていない");

  MoverBullet* bullet = new MoverBullet();
  MoverItem* item = new MoverItem();
  MoverBoss* boss = new MoverBoss();
  EXPECT_FALSE(stage->SetMoverBullet(&bullet, 1));
  EXPECT_FALSE(stage->SetMoverItem(&item, 1));
  EXPECT_FALSE(stage->SetMoverBoss(&boss, 1));
  EXPECT_EQ(stage->GetBossMover(), nullptr);
  ASSERT_EQ(dialogs.shown.size(), 4u);
  EXPECT_EQ(dialogs.shown[1].first, "Error! CStage::SetMoverBullet()");
  EXPECT_EQ(dialogs.shown[2].first, "Error! CStage::SetMoverItem()");
  EXPECT_EQ(dialogs.shown[3].first, "Error! CStage::SetMoverBoss()");
}

TEST_F(StageFixture, RegisteredShipBossAndLinesTakeTheirPlaces) {
  ASSERT_TRUE(stage->Init());
  MoverMyShip* ship = AddShip(50, 90, 100);
  MoverBoss* boss = AddBoss(5000);
  Mover* lines[5] = {new Mover(), new Mover(), new Mover(), new Mover(), new Mover()};
  EXPECT_TRUE(stage->SetMoverLine(lines, 5));  // the fifth is refused and destroyed
  EXPECT_EQ(stage->GetMyShip(), ship);
  EXPECT_EQ(stage->GetShipSlots()[0], ship);
  EXPECT_NE(ship->GetHpBar(), nullptr);
  EXPECT_EQ(stage->GetBossMover(), boss);
  EXPECT_EQ(stage->GetManager()->GetBossSlots()[0], nullptr);
  EXPECT_FALSE(boss->IsFinished());
  EXPECT_EQ(stage->GetManager()->GetLineSlots()[3], lines[3]);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_FLOAT_EQ(stage->GetShipPosition().y, 90.0f);
}

TEST_F(StageFixture, BossDefeatSweepsTheFieldOnceAndItsPointsArriveInTheSameStep) {
  ASSERT_TRUE(stage->Init());
  AddShip(50, 90, 100);
  MoverBoss* boss = AddBoss(0);
  MoverManager* manager = stage->GetManager();
  stage->Step();
  auto* enemy = new MoverEnemy();
  enemy->SetPosition(20, 20, 0);
  enemy->SetHp(1000);
  enemy->SetScore(100);
  enemy->SetTimer(0);
  manager->CreateMoverEnemy(enemy);
  auto* bullet = new MoverBullet();
  bullet->SetPosition(80, 80, 0);
  manager->CreateMoverBullet(bullet);
  boss->Damage(10);
  stage->Step();
  EXPECT_TRUE(stage->IsSweepDone());
  EXPECT_EQ(enemy->GetHp(), 0);
  EXPECT_EQ(bullet->GetHp(), 0);
  EXPECT_EQ(stage->TakeScore(), 100000);
  stage->Step();  // the enemy dies with its score
  EXPECT_EQ(stage->TakeScore(), 100);

  auto* late = new MoverBullet();
  late->SetPosition(80, 80, 0);
  manager->CreateMoverBullet(late);
  stage->Step();
  stage->Step();
  EXPECT_EQ(late->GetHp(), 1);  // fired after the sweep: flies on
}

TEST_F(StageFixture, ResultOverlaysTurnHeldKeysIntoRequests) {
  ASSERT_TRUE(stage->Init());
  MoverMyShip* ship = AddShip(50, 90, 1);
  MoverBoss* boss = AddBoss(0);
  pad.buttons[2] = 1;
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 0);
  EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"0"}));  // the combo counter only

  boss->Damage(10);
  stage->Step();
  pad.buttons[2] = 0;
  pad.buttons[3] = 1;  // V does nothing on "Stage Clear!!"
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 0);
  EXPECT_EQ(DrawnTexts()[0], "Stage Clear!!");
  EXPECT_EQ(device.GetTexts()[0].x, 330);
  EXPECT_EQ(device.GetTexts()[1].text, "(Next Stage ... C Key)");
  EXPECT_EQ(device.GetTexts()[1].argb, 0xFF0000FFu);
  pad.buttons[2] = 1;
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 'b');

  ship->Damage(1);
  stage->Step();  // ship and boss both finished: only "Game Over"
  pad.buttons[2] = pad.buttons[3] = 0;
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 'b');  // neither key: the request stays
  EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"Game Over", "(Continue ... C Key)",
                                                    "(Return Start ... V Key)", "1"}));
  pad.buttons[3] = 1;
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 'v');
  pad.buttons[2] = 1;
  DrawFrame();
  EXPECT_EQ(stage->GetRequest(), 'c');
}

TEST_F(StageFixture, KillsFeedTheComboWhichPaysIntoTheStage) {
  ASSERT_TRUE(stage->Init());
  AddShip(50, 90, 100);
  MoverManager* manager = stage->GetManager();
  for (int i = 0; i < 3; ++i) manager->AddKill();
  DrawFrame();
  EXPECT_EQ(manager->GetKillCount(), 0);
  EXPECT_EQ(device.GetTexts()[0].text, "3");
  EXPECT_EQ(device.GetTexts()[0].x, 400);
  EXPECT_EQ(device.GetTexts()[0].argb, 0xFFFF0000u);
  for (int i = 0; i < 30; ++i) DrawFrame();
  EXPECT_EQ(stage->TakeScore(), 0);
  DrawFrame();
  EXPECT_EQ(stage->TakeScore(), 900);
  EXPECT_EQ(device.GetTexts()[0].text, "0");
}

TEST_F(StageFixture, PlayerShotsAndKillsPlayTheirSounds) {
  ASSERT_TRUE(stage->Init());
  const std::string wave = WriteWave();
  stage->RegisterSound(0, wave.c_str());
  stage->RegisterSound(1, wave.c_str());
  ASSERT_TRUE(stage->LoadAllSounds());
  MoverMyShip* ship = AddShip(50, 90, 100);
  MoverBullet shot;
  shot.SetMotion(1, 0, 0, 0, 0, 0);
  shot.SetSpeed(3);
  ship->SetShotTemplate(&shot);
  auto* enemy = new MoverEnemy();
  enemy->SetPosition(50, 84, 0);
  enemy->SetTimer(0);
  stage->GetManager()->CreateMoverEnemy(enemy);
  audio.RecordPlayedSlots(true);
  pad.buttons[0] = 1;
  stage->Step();
  stage->MoveAll();
  stage->Step();
  EXPECT_TRUE(enemy->IsDead());
  EXPECT_EQ(audio.GetPlayedSlots(), (std::vector<int>{0, 1}));
  EXPECT_EQ(audio.GetLog().plays.size(), 2u);
  std::remove(wave.c_str());
}

}  // namespace
}  // namespace vorlith
