// One update frame plus the move pass with every slot of the field taken: 500 bullets,
// 50 enemies, 3 bosses with 3 hit boxes each, 10 items and the ship.

#include <benchmark/benchmark.h>

#include <memory>

#include "input/PadState.h"
#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/StderrDialogs.h"
#include "stage/MoverManager.h"

namespace vorlith {
namespace {

struct FullField {
  HeadlessRenderDevice device;
  StderrDialogs dialogs;
  PadState pad;
  std::unique_ptr<MoverManager> manager;
  MoverBoss* bosses[MoverManager::kBossSlots] = {};

  FullField() {
    device.Create(640, 480, true);
    manager = std::make_unique<MoverManager>(&device, dialogs);
    auto* ship = new MoverMyShip();
    ship->SetPosition(50, 95, 0);
    ship->SetHp(1 << 30);
    manager->CreateMoverMyShip(ship);
    for (MoverBoss*& boss : bosses) {
      boss = new MoverBoss();
      boss->SetPosition(50, 20, 0);
      boss->SetHp(1 << 30);
      boss->AddHitBox(-5, 5, 5, -5);
      boss->AddHitBox(-25, -15, 5, -5);
      boss->AddHitBox(15, 25, 5, -5);
      boss->AddContactBox(-25, 25, 8, -8);
      boss->SetShot(nullptr, -1, 1, 0);  // already in play: never spawned again
      boss->SetTimer(0);
      manager->AddBoss(boss);
      manager->CreateMoverBoss(boss);
    }
    for (int i = 0; i < MoverManager::kEnemySlots; ++i) {
      auto* enemy = new MoverEnemy();
      enemy->SetHp(1 << 30);
      enemy->SetSpeed(1.0f);
      enemy->SetMotion(5, 10.0f + i % 10 * 8.0f, 10.0f + i / 10 * 8.0f, 3, 3, i * 7.0f);
      enemy->SetTimer(0);
      manager->CreateMoverEnemy(enemy);
    }
    for (int i = 0; i < MoverManager::kBulletSlots; ++i) {
      auto* bullet = new MoverBullet();
      bullet->SetPosition(i % 25 * 4.0f, i / 25 * 5.0f, 0);
      bullet->SetHp(1 << 30);
      bullet->SetMotion(1, 0, 0, 0, 0, 0);  // standing still, so the field stays full
      bullet->SetTimer(0);
      manager->CreateMoverBullet(bullet);
    }
    for (int i = 0; i < MoverManager::kItemSlots; ++i) {
      auto* item = new MoverItem();
      item->SetPosition(5.0f + i * 9.0f, 50, 0);
      item->SetMotion(1, 0, 0, 0, 0, 0);
      item->SetTimer(0);
      manager->CreateMoverItem(item);
    }
  }
  ~FullField() {
    manager->ClearMovers();
    manager.reset();
  }
};

void BM_UpdateAndMoveFullField(benchmark::State& state) {
  FullField field;
  for (auto _ : state) {
    field.manager->UpdateFrame(field.pad);
    field.manager->MoveMovers(field.pad);
  }
  // Google Benchmark's Time column is the figure: nanoseconds per frame.
  state.counters["frames"] = static_cast<double>(state.iterations());
}
BENCHMARK(BM_UpdateAndMoveFullField)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace vorlith

BENCHMARK_MAIN();
