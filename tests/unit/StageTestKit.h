#pragma once

// Small stages for the gameplay tests: a headless device, a manager reachable by every
// mover, a player ship in slot 0 and a recorder of message boxes.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "input/PadState.h"
#include "movers/Mover.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "platform/Dialogs.h"
#include "platform/HeadlessRenderDevice.h"
#include "stage/MoverManager.h"

namespace vorlith::testkit {

// Message boxes shown while it is installed, as (caption, text).
class RecordingDialogs : public Dialogs {
 public:
  RecordingDialogs() : previous(GetDialogs()) { SetDialogs(this); }
  ~RecordingDialogs() override { SetDialogs(previous); }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
  }
  std::vector<std::pair<std::string, std::string>> shown;

 private:
  Dialogs* previous;
};

// A manager with the class-wide pointers set, and optionally the player's ship.
struct SmallStage {
  HeadlessRenderDevice device;
  RecordingDialogs dialogs;
  PadState pad;
  std::unique_ptr<MoverManager> manager;
  MoverMyShip* ship = nullptr;

  SmallStage() {
    device.Create(640, 480, true);
    manager = std::make_unique<MoverManager>(&device);
    Mover::SetManagers(manager.get(), nullptr);
  }
  ~SmallStage() {
    manager->ClearMovers();
    manager.reset();
    Mover::SetManagers(nullptr, nullptr);
  }

  MoverMyShip* AddShip(float x, float y, int hp = 100) {
    ship = new MoverMyShip(&pad);
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
    bullet->SetTimer(0);
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

  int CountEnemies() const {
    return CountSlots(manager->GetEnemySlots(), MoverManager::kEnemySlots);
  }
  int CountBullets() const {
    return CountSlots(manager->GetBulletSlots(), MoverManager::kBulletSlots);
  }
  int CountItems() const { return CountSlots(manager->GetItemSlots(), MoverManager::kItemSlots); }

  template <typename T>
  static int CountSlots(T* const* slots, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += slots[i] != nullptr;
    return count;
  }

  // The n-th occupied bullet slot.
  MoverBullet* Bullet(int n) const {
    MoverBullet* const* slots = manager->GetBulletSlots();
    for (int i = 0; i < MoverManager::kBulletSlots; ++i) {
      if (slots[i] && n-- == 0) return slots[i];
    }
    return nullptr;
  }

  void Frame() {
    manager->UpdateFrame();
    manager->MoveMovers();
  }
};

}  // namespace vorlith::testkit
