#pragma once

// Set-ups shared by the gameplay tests: a bare manager with the player's ship, a stage
// object, a whole game on the headless platform, and a recorder of message boxes.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestPlatform.h"
#include "app/GameApp.h"
#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "input/PadState.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "stage/CStage.h"
#include "stage/MoverManager.h"

namespace vorlith::testkit {

using Message = std::pair<std::string, std::string>;  // caption, text
using vorlith::testing::RecordingDialogs;

// The texts drawn since the device's scene began.
inline std::vector<std::string> Texts(const FakeRenderDevice& device) {
  std::vector<std::string> texts;
  for (const auto& call : device.texts) texts.push_back(call.text);
  return texts;
}

// Whether a mover stands at (x, y), or flies with velocity (vx, vy), to a ten-thousandth.
inline ::testing::AssertionResult Near(float x, float y, float expectX, float expectY) {
  if (std::fabs(x - expectX) <= 1e-4f && std::fabs(y - expectY) <= 1e-4f)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << x << ", " << y;
}
inline ::testing::AssertionResult At(const Mover* mover, float x, float y) {
  return Near(mover->GetPosition().x, mover->GetPosition().y, x, y);
}
inline ::testing::AssertionResult Flies(const Mover* mover, float vx, float vy) {
  return Near(mover->GetMotionParam(3), mover->GetMotionParam(4), vx, vy);
}

// Occupied slots of a kind, in slot order.
template <typename T>
std::vector<T*> InPlay(T* const* slots, int n) {
  std::vector<T*> found;
  for (int i = 0; i < n; ++i)
    if (slots[i]) found.push_back(slots[i]);
  return found;
}

// A manager, the world of the movers placed in it, and optionally the player's ship.
struct SmallStage {
  FakeRenderDevice device;
  RecordingDialogs dialogs;
  PadState pad;
  std::unique_ptr<MoverManager> manager;
  MoverMyShip* ship = nullptr;

  SmallStage() {
    device.Create(640, 480, true);
    manager = std::make_unique<MoverManager>(&device, dialogs);
  }
  const MoverCounts& Counts() const { return manager->GetMoverCounts(); }
  ~SmallStage() { manager->ClearMovers(); }
  // A mover made outside the manager that plays in it all the same.
  template <typename T>
  T& Join(T& mover) const {
    mover.SetWorld(manager.get());
    return mover;
  }
  MoverMyShip* AddShip(float x, float y, int hp = 100) {
    ship = new MoverMyShip();
    ship->SetPosition(x, y, 0);
    ship->SetHp(hp);
    manager->CreateMoverMyShip(ship);
    ship->Init();
    return ship;
  }
  // A bullet standing still at (x, y) in the first free bullet slot.
  MoverBullet* PlaceBullet(float x, float y, int power = 1) {
    auto* bullet = new MoverBullet();
    bullet->SetPosition(x, y, 0);
    bullet->SetPower(power);
    manager->CreateMoverBullet(bullet);
    return bullet;
  }
  MoverEnemy* PlaceEnemy(float x, float y, int hp = 1) {
    auto* enemy = new MoverEnemy();
    enemy->SetPosition(x, y, 0);
    enemy->SetHp(hp);
    enemy->SetTimer(0);
    manager->CreateMoverEnemy(enemy);
    return enemy;
  }
  // A bullet template of the manager's at speed 3, fired by `pattern` (1 two parallel, 2 three,
  // 3 a spread of `ways` 10 degrees apart) from age 10 every 15 frames.
  MoverBullet* AddShotTemplate(int motion, float heading, int pattern, float ways = 0) {
    auto* bullet = new MoverBullet();
    bullet->SetSpeed(3);
    bullet->SetMotion(motion, heading, 0, 0, 0, 0);
    bullet->SetFire(pattern, 10, 15, -1, ways, 10);
    manager->AddBulletPrototype(bullet);
    return bullet;
  }
  std::vector<MoverEnemy*> Enemies() const { return InPlay(manager->GetEnemySlots(), 50); }
  std::vector<MoverBullet*> Bullets() const { return InPlay(manager->GetBulletSlots(), 500); }
  std::vector<MoverItem*> Items() const { return InPlay(manager->GetItemSlots(), 10); }
  int CountBullets() const { return static_cast<int>(Bullets().size()); }
  MoverBullet* Bullet(int n) const { return Bullets().at(static_cast<std::size_t>(n)); }
  void Frame() {
    manager->UpdateFrame(pad);
    manager->MoveMovers(pad);
  }
};

// The player's ship and a boss registered with a stage, as a stage's set-up does it.
inline MoverMyShip* AddStageShip(CStage& stage, float x, float y, int hp = 100) {
  auto* ship = new MoverMyShip();
  ship->SetPosition(x, y, 0);
  ship->SetHp(hp);
  stage.SetMoverMyShip(&ship, 1);
  return ship;
}
inline bool AddStageBoss(CStage& stage, Model& model, int appear, int hp) {
  auto* boss = new MoverBoss();
  boss->SetModel(&model);
  boss->SetHp(hp);
  boss->SetScore(100000);
  boss->SetShot(nullptr, appear, 10, 1);
  return stage.SetMoverBoss(&boss, 1);
}

// A stage object on a headless device and a silent audio system, not yet initialised.
struct StageRun {
  FakeRenderDevice device;
  RecordingDialogs dialogs;
  FakeAudioSystem audio;
  PadState pad;
  ComboCounter combo;
  Model model{"test.x"};  // registrations only ask whether a model is set; never loaded
  std::unique_ptr<CStage> stage;

  StageRun() {
    device.Create(640, 480, true);
    stage = std::make_unique<CStage>(&device, &audio, dialogs);
    stage->SetComboCounter(&combo);
  }
  ~StageRun() {
    stage->ClearMovers();
    stage->ReleaseAllModels();
  }
  MoverManager& Manager() const { return *stage->GetManager(); }
  MoverMyShip* AddShip(float x, float y, int hp = 100) { return AddStageShip(*stage, x, y, hp); }
  MoverBoss* AddBoss(int appear, int hp = 10) {
    AddStageBoss(*stage, model, appear, hp);
    return stage->GetBossMover();
  }
  // One drawn frame: its rules, then its picture.
  void Draw() {
    device.BeginScene();
    stage->StepDrawnFrame(pad);
    stage->Draw();
    device.EndScene();
  }
};

// A test whose stage object is initialised before it starts.
struct StartedStage : ::testing::Test, StageRun {
  void SetUp() override { ASSERT_TRUE(stage->Init()); }
};

// The whole game on the headless platform; keys are held through `test.input->keys` unless
// other input devices are given.
struct GameRun {
  vorlith::testing::TestPlatform test;
  std::unique_ptr<GameApp> app;

  explicit GameRun(const std::vector<std::string>& args = {"vorlith"},
                   std::unique_ptr<InputDevices> input = nullptr,
                   const Settings& settings = Settings{}) {
    if (input) test.platform->inputDevices = std::move(input);
    app = std::make_unique<GameApp>(test.Take(), args, settings);
  }
  void Frame() {
    app->Update();
    app->Draw();
  }
  std::vector<std::string> Texts() const { return testkit::Texts(*test.device); }
  CStage* Stage() const { return app->GetStage(); }
};

}  // namespace vorlith::testkit
