#include "stage/StageSetUp.h"

#include "movers/Mover.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "stage/CStage.h"

namespace vorlith {
namespace {

// Model slots of stage 1.
enum ModelSlot : int {
  kMyShipModel = 0,
  kBossModel = 1,
  kEnemyModel = 2,
  kEnemyBlueModel = 3,
  kBulletBlueModel = 4,
  kBulletGreenModel = 5,
  kLaserModel = 6,
  kItemModel = 7,
  kAxisXModel = 8,
  kAxisYModel = 9,
};

struct ModelFile {
  int slot;
  const char* fileName;
};

// In the order the stage registers them.
constexpr ModelFile kStage1Models[] = {
    {kMyShipModel, "./model/myship.x"},
    {kBossModel, "./model/boss0.x"},
    {kBulletBlueModel, "./model/bullet_small_blue.x"},
    {kBulletGreenModel, "./model/bullet_small_green.x"},
    {kLaserModel, "./model/laser_sign.x"},
    {kEnemyModel, "./model/enemy.x"},
    {kEnemyBlueModel, "./model/enemy_blue.x"},
    {kItemModel, "./model/item_blue.x"},
    {kAxisXModel, "./model/axis_x.x"},
    {kAxisYModel, "./model/axis_y.x"},
};

constexpr int kBulletCount = 5;
constexpr int kItemCount = 2;
constexpr int kEnemyCount = 2;
constexpr int kLineCount = 4;

bool LoadSounds(CStage& stage) {
  stage.RegisterSound(0, "./sound/se_sad04.wav");
  stage.RegisterSound(1, "./sound/se_sob02.wav");
  return stage.LoadAllSounds();
}

bool LoadModels(CStage& stage) {
  for (const ModelFile& file : kStage1Models) stage.RegisterModel(file.slot, file.fileName);
  return stage.LoadAllModels();
}

MoverBullet* MakeBullet(CStage& stage, int modelSlot) {
  auto* made = new MoverBullet();
  made->SetModel(stage.GetModel(modelSlot));
  made->SetSpeed(3.0f);
  return made;
}

// The ship's first shot, the enemies' 12-way spread, the boss's aimed pair, the laser that the
// shoot-ability item carries and a spare blue shot that nothing fires.
bool SetUpBullets(CStage& stage, MoverBullet* (&bullet)[kBulletCount]) {
  bullet[0] = MakeBullet(stage, kBulletBlueModel);
  bullet[0]->SetAngle(0.0f);
  bullet[0]->SetFire(0, 0, 0, 1, 0.0f, 0.0f);
  bullet[0]->SetMotion(1, 0, 0, 0, 0, 0);
  bullet[1] = MakeBullet(stage, kBulletGreenModel);
  bullet[1]->SetFire(3, 10, 15, -1, 12.0f, 10.0f);
  bullet[1]->SetMotion(1, 180.0f, 0, 0, 0, 0);
  bullet[2] = MakeBullet(stage, kBulletGreenModel);
  bullet[2]->SetFire(1, 10, 15, -1, 0.0f, 0.0f);
  bullet[2]->SetMotion(3, 180.0f, 0, 0, 0, 0);
  bullet[3] = MakeBullet(stage, kLaserModel);
  bullet[3]->SetPower(5);
  bullet[3]->SetFire(0, 50, 50, 10, 5.0f, 30.0f);
  bullet[3]->SetMotion(1, 0, 0, 0, 0, 0);
  bullet[4] = MakeBullet(stage, kBulletBlueModel);
  bullet[4]->SetPower(1);
  bullet[4]->SetFire(0, 50, 50, 10, 5.0f, 30.0f);
  bullet[4]->SetMotion(1, 0, 0, 0, 0, 0);
  return stage.SetMoverBullet(bullet, kBulletCount);
}

// The player ship at the bottom centre, facing up, firing `shot`.
bool SetUpMyShip(CStage& stage, MoverBullet* shot) {
  auto* ship = new MoverMyShip();
  ship->SetModel(stage.GetModel(kMyShipModel));
  ship->SetPosition(50.0f, 90.0f, 0);
  ship->SetAngle(0.0f);
  ship->SetHp(100);
  ship->SetShotTemplate(shot);
  return stage.SetMoverMyShip(&ship, 1);
}

MoverItem* MakeItem(CStage& stage, float x) {
  auto* made = new MoverItem();
  made->SetModel(stage.GetModel(kItemModel));
  made->SetMotion(1, 0, 0, 0, 0, 0);
  made->SetPosition(x, -10.0f, 0);
  return made;
}

// Shoot ability from the right at t = 100 to 300, maximum hit points from the left from 150.
bool SetUpItems(CStage& stage, MoverBullet* const (&bullet)[kBulletCount]) {
  MoverItem* item[kItemCount];
  item[0] = MakeItem(stage, 80.0f);
  for (int frame : {100, 150, 200, 250, 300}) item[0]->AddSpawnFrame(frame);
  item[0]->SetItem(5, 1.0f, 0, 0, 0);
  item[0]->SetWeapon(bullet[3]);
  item[1] = MakeItem(stage, 10.0f);
  for (int frame : {150, 200, 250, 300}) item[1]->AddSpawnFrame(frame);
  item[1]->SetItem(3, 10.0f, 0, 0, 0);
  return stage.SetMoverItem(item, kItemCount);
}

MoverEnemy* MakeEnemy(CStage& stage, float x) {
  auto* made = new MoverEnemy();
  made->SetModel(stage.GetModel(kEnemyModel));
  made->SetSpeed(1.0f);
  made->SetScore(100);
  made->SetPosition(x, -10.0f, 0);
  return made;
}

// An accelerating enemy down x = 30 every 100 frames from 50, a steady one down x = 70 every
// 150 frames from 100; both fire the 12-way spread.
bool SetUpEnemies(CStage& stage, MoverBullet* const (&bullet)[kBulletCount]) {
  MoverEnemy* enemy[kEnemyCount];
  enemy[0] = MakeEnemy(stage, 30.0f);
  enemy[0]->SetMotion(2, 0.05f, 0, 0, 0, 0);
  enemy[0]->SetShot(bullet[1], 50, 100, -1);
  enemy[1] = MakeEnemy(stage, 70.0f);
  enemy[1]->SetMotion(1, 180.0f, 0, 0, 0, 0);
  enemy[1]->SetShot(bullet[1], 100, 150, -1);
  return stage.SetMoverEnemy(enemy, kEnemyCount);
}

// Enters at t = 5000: a centre block and two side blocks to hit, a wide body to avoid.
bool SetUpBoss(CStage& stage, MoverBullet* const (&bullet)[kBulletCount]) {
  auto* boss = new MoverBoss();
  boss->SetModel(stage.GetModel(kBossModel));
  boss->SetPosition(50.0f, 10.0f, 0);
  boss->SetHp(100);
  boss->AddHitBox(-5, 5, 5, -5);
  boss->AddHitBox(-25, -15, 5, -5);
  boss->AddHitBox(15, 25, 5, -5);
  boss->AddContactBox(-25, 25, 8, -8);
  boss->SetScore(100000);
  boss->SetPhaseStart(0, 100);
  boss->SetPhaseStart(1, 200);
  boss->SetPhaseStart(2, -1);
  boss->SetPhaseStart(3, -1);
  boss->AddShot(bullet[1]);
  boss->AddShot(bullet[2]);
  boss->SetShot(bullet[0], 5000, 10, 1);
  return stage.SetMoverBoss(&boss, 1);
}

Mover* MakeLine(CStage& stage, int modelSlot, float x, float y) {
  auto* made = new Mover();
  made->SetModel(stage.GetModel(modelSlot));
  made->SetPosition(x, y, 0);
  return made;
}

// The edges of the field.
bool SetUpFrameLines(CStage& stage) {
  Mover* viewportLine[kLineCount] = {
      MakeLine(stage, kAxisXModel, 50.0f, 0.0f),
      MakeLine(stage, kAxisXModel, 50.0f, 100.0f),
      MakeLine(stage, kAxisYModel, 0.0f, 50.0f),
      MakeLine(stage, kAxisYModel, 100.0f, 50.0f),
  };
  return stage.SetMoverLine(viewportLine, kLineCount);
}

}  // namespace

bool SetUpStage1(CStage& stage) {
  if (!LoadSounds(stage)) return false;
  if (!LoadModels(stage)) return false;
  MoverBullet* bullet[kBulletCount];
  if (!SetUpBullets(stage, bullet)) return false;
  SetUpMyShip(stage, bullet[0]);
  if (!SetUpItems(stage, bullet)) return false;
  if (!SetUpEnemies(stage, bullet)) return false;
  if (!SetUpBoss(stage, bullet)) return false;
  SetUpFrameLines(stage);
  return true;
}

bool SetUpStage2(CStage& stage) {
  MoverBullet* bullet[1] = {MakeBullet(stage, kBulletBlueModel)};
  bullet[0]->SetAngle(0.0f);
  bullet[0]->SetFire(0, 0, 0, 1, 0.0f, 0.0f);
  bullet[0]->SetMotion(1, 0, 0, 0, 0, 0);
  if (!stage.SetMoverBullet(bullet, 1)) return false;
  return SetUpMyShip(stage, bullet[0]);
}

}  // namespace vorlith
