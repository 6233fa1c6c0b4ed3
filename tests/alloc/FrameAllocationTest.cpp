// Counts every allocation made through the global operator new while a frame runs, to show
// that a frame allocates nothing but the movers it spawns or fires.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "StageTestKit.h"

namespace {

bool counting = false;
long allocations = 0;

void* CountedAllocate(std::size_t size) noexcept {
  if (counting) ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}

void* CountedAllocateOrThrow(std::size_t size) {
  if (void* memory = CountedAllocate(size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

// clang-format off
void* operator new(std::size_t n) { return CountedAllocateOrThrow(n); }
void* operator new[](std::size_t n) { return CountedAllocateOrThrow(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return CountedAllocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return CountedAllocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
// clang-format on

namespace vorlith {
namespace {

// A busy field: the ship firing three-way every second frame, two enemy kinds firing
// spreads, items falling, and a boss that enters at 300 and fires its volleys from 320.
struct BusyStage : testkit::SmallStage {
  BusyStage() {
    MoverBullet* spread = AddShotTemplate(1, 0, 3, 12);
    MoverBullet* aimed = AddShotTemplate(3, 0, 1);
    auto* boss = new MoverBoss();
    boss->SetPosition(50, 10, 0);
    boss->SetHp(100000);
    boss->AddHitBox(-5, 5, 5, -5);
    boss->AddContactBox(-25, 25, 8, -8);
    boss->SetPhaseStart(1, 20);
    boss->AddShot(spread);
    boss->AddShot(aimed);
    boss->SetShot(nullptr, 300, 10, 1);
    manager->AddBoss(boss);
    for (int i = 0; i < 2; ++i) {
      auto* enemy = new MoverEnemy();
      enemy->SetPosition(30.0f + 40.0f * i, -10, 0);
      enemy->SetMotion(2 - i, 0.05f, 0, 0, 0, 0);
      enemy->SetHp(3);
      enemy->SetShot(spread, 5 + 7 * i, 20 + 13 * i, -1);
      manager->AddEnemyPrototype(enemy);
    }
    auto* item = new MoverItem();
    item->SetPosition(80, -10, 0);
    item->SetMotion(1, 0, 0, 0, 0, 0);
    item->SetItem(kItemShootAbility, 1, 0, 0, 0);
    for (int frame = 40; frame < 600; frame += 45) item->AddSpawnFrame(frame);
    manager->AddItemPrototype(item);
    MoverBullet* shipShot = AddShotTemplate(1, 0, 2);
    AddShip(50, 90, 1000000)->SetShotTemplate(shipShot);
    ship->ShortenInterval(7);
    pad.buttons[0] = 1;
  }
  // Movers in the enemy, bullet and item slots, items among them, and how many of each are
  // finished (the next update step removes those).
  struct Census {
    long movers = 0, finished = 0, items = 0, finishedItems = 0;
  };
  Census Take() const {
    Census census;
    for (const Mover* mover : Enemies()) census.finished += mover->IsFinished();
    for (const Mover* mover : Bullets()) census.finished += mover->IsFinished();
    for (const Mover* mover : Items()) census.finishedItems += mover->IsFinished();
    census.items = static_cast<long>(Items().size());
    census.movers = static_cast<long>(Enemies().size() + Bullets().size()) + census.items;
    census.finished += census.finishedItems;
    return census;
  }
};

TEST(FrameAllocationTest, AFrameAllocatesOnlyTheMoversItBringsIntoPlay) {
  BusyStage stage;
  int quietFrames = 0;
  for (int frame = 0; frame < 600; ++frame) {
    const BusyStage::Census before = stage.Take();
    const bool bossWaiting = stage.manager->GetBossSlots()[0] == nullptr;
    allocations = 0;
    counting = true;
    stage.Frame();
    counting = false;
    const BusyStage::Census after = stage.Take();
    // Movers that came: the growth of the field plus what the update step removed.
    const long created = after.movers - before.movers + before.finished;
    const long itemsCreated = after.items - before.items + before.finishedItems;
    // A new item also copies its list of frames; the boss entering play makes two gauges.
    const bool bossEntered = bossWaiting && stage.manager->GetBossSlots()[0] != nullptr;
    ASSERT_EQ(allocations, created + itemsCreated + (bossEntered ? 2 : 0)) << "frame " << frame;
    quietFrames += created == 0;
  }
  EXPECT_GT(quietFrames, 50);
  EXPECT_GT(stage.CountBullets(), 50);
  EXPECT_NE(stage.manager->GetBossSlots()[0], nullptr);
}

}  // namespace
}  // namespace vorlith
