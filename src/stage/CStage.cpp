#include "stage/CStage.h"

#include <cstdio>

#include "movers/MoverBoss.h"
#include "movers/MoverBullet.h"
#include "movers/MoverEnemy.h"
#include "movers/MoverItem.h"
#include "movers/MoverMyShip.h"
#include "platform/Dialogs.h"
#include "stage/MoverManager.h"
#include "stage/ResultOverlay.h"

namespace vorlith {
namespace {

constexpr const char* kFace = "HGP創英角ﾎﾟｯﾌﾟ体";
constexpr const char* kNoModel = "モデルが登録されていない";
constexpr std::uint32_t kComboColour = 0xFFFF0000;

std::int32_t WrappingAdd(std::int32_t a, std::uint32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + b);
}

}  // namespace

CStage::CStage(RenderDevice* renderDevice, AudioSystem* audioSystem, Dialogs& dialogs)
    : soundManager(dialogs), device(renderDevice), audio(audioSystem), dialogs(dialogs) {}

CStage::~CStage() {
  manager.reset();
  soundManager.ReleaseAllSounds();
  soundManager.ReleaseDevice();
}

bool CStage::Init() {
  manager = std::make_unique<MoverManager>(device, dialogs, &soundManager);
  manager->SetMoverCounts(moverCounts);
  if (!soundManager.Init(audio)) return false;
  largeFont.Create(device, dialogs, 30, 0, 300, nullptr);
  mediumFont.Create(device, dialogs, 18, 0, 300, kFace);
  smallFont.Create(device, dialogs, 12, 0, 300, kFace);
  return true;
}

void CStage::RegisterSound(int slot, const char* fileName) {
  soundManager.RegisterSound(slot, fileName);
}

bool CStage::LoadAllSounds() {
  return soundManager.LoadAllSounds();
}

void CStage::RegisterModel(int slot, const char* fileName) {
  models.RegisterModel(slot, fileName);
}

bool CStage::LoadAllModels() {
  return models.LoadAllModels(device, dialogs);
}

Model* CStage::GetModel(int slot) const {
  return models.GetModel(slot);
}

void CStage::ReleaseAllModels() {
  models.ReleaseAllModels();
}

template <typename T, typename Add>
bool CStage::Register(T* const* entries, int count, const char* caption, Add add) {
  for (int i = 0; i < count; ++i) {
    if (manager && entries[i] && entries[i]->GetModel()) {
      add(entries[i]);
      continue;
    }
    for (int j = i; j < count; ++j) delete entries[j];
    dialogs.ShowMessage(caption, kNoModel);
    return false;
  }
  return true;
}

bool CStage::SetMoverBullet(MoverBullet* const* entries, int count) {
  return Register(entries, count, "Error! CStage::SetMoverBullet()",
                  [this](MoverBullet* entry) { manager->AddBulletPrototype(entry); });
}

bool CStage::SetMoverEnemy(MoverEnemy* const* entries, int count) {
  return Register(entries, count, "Error! CStage::SetMoverEnemy()",
                  [this](MoverEnemy* entry) { manager->AddEnemyPrototype(entry); });
}

bool CStage::SetMoverBoss(MoverBoss* const* entries, int count) {
  if (!Register(entries, count, "Error! CStage::SetMoverBoss()",
                [this](MoverBoss* entry) { manager->AddBoss(entry); })) {
    return false;
  }
  if (count > 0) boss = entries[0];
  return true;
}

bool CStage::SetMoverItem(MoverItem* const* entries, int count) {
  return Register(entries, count, "Error! CStage::SetMoverItem()",
                  [this](MoverItem* entry) { manager->AddItemPrototype(entry); });
}

// A ship or line the manager refuses (its kind is full) is destroyed.
bool CStage::SetMoverMyShip(MoverMyShip* const* entries, int count) {
  bool firstStored = false;
  for (int i = 0; i < count; ++i) {
    const bool stored = manager && manager->CreateMoverMyShip(entries[i]);
    if (i == 0) firstStored = stored;
    if (!stored) delete entries[i];
  }
  if (firstStored) {
    myShip = entries[0];
    myShip->Init();
  }
  return true;
}

bool CStage::SetMoverLine(Mover* const* entries, int count) {
  for (int i = 0; i < count; ++i) {
    if (!manager || !manager->CreateMoverLine(entries[i])) delete entries[i];
  }
  return true;
}

void CStage::Step(const PadState& pad) {
  if (!manager) return;
  manager->UpdateFrame(pad);
  if (boss && boss->IsFinished() && !sweepDone) {
    manager->DamageAllOfKind(MoverManager::kDamageEnemies);
    manager->DamageAllOfKind(MoverManager::kDamageBullets);
    sweepDone = true;
  }
  score = WrappingAdd(score, static_cast<std::uint32_t>(manager->TakeScore()));
}

void CStage::MoveAll(const PadState& pad) {
  if (manager) manager->MoveMovers(pad);
}

void CStage::StepDrawnFrame(const PadState& pad) {
  if (!manager) return;
  if (myShip) {
    request = ResultOverlay::Step(myShip->IsFinished(), boss && boss->IsFinished(), pad, request);
  }
  score = WrappingAdd(score, combo->Step(manager->GetKillCount()));
  manager->ResetKillCount();
  manager->StepDrawnFrame();
}

void CStage::Draw() const {
  if (!manager) return;
  if (myShip) {
    ResultOverlay::Draw(myShip->IsFinished(), boss && boss->IsFinished(), lastStage, largeFont,
                        mediumFont);
  }
  char text[16];
  std::snprintf(text, sizeof text, "%d", combo->GetCount());
  smallFont.DrawText(text, 400, 15, kComboColour, TopLeft);
  manager->DrawMovers();
}

std::int32_t CStage::TakeScore() {
  const std::int32_t points = score;
  score = 0;
  return points;
}

Vec3 CStage::GetShipPosition() const {
  return myShip ? myShip->GetPosition() : Vec3{};
}

MoverMyShip* const* CStage::GetShipSlots() const {
  static MoverMyShip* const kNoShips[MoverManager::kShipSlots] = {};
  return manager ? manager->GetShipSlots() : kNoShips;
}

void CStage::ClearMovers() {
  if (manager) manager->ClearMovers();
  myShip = nullptr;
}

}  // namespace vorlith
