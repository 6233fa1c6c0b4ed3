#pragma once

#include <cstdint>
#include <vector>

#include "movers/Mover.h"

namespace vorlith {

class MoverBullet;
class MoverMyShip;

enum ItemKind : std::int32_t {
  kItemHeal = 0,
  kItemWeapon = 1,
  kItemScore = 2,
  kItemHpMax = 3,
  kItemNothing = 4,
  kItemShootAbility = 5,
};

// A power-up drifting down the field, spinning; the player's ship picks it up by touch.
class MoverItem : public Mover {
 public:
  static constexpr std::uint32_t kHpColour = 0xFF6464FF;
  static constexpr std::uint32_t kWhite = 0xFFFFFFFF;
  static constexpr std::uint32_t kScoreColour = 0xFFFFFF64;

  MoverItem() = default;
  MoverItem(const MoverItem&) = default;
  MoverItem& operator=(const MoverItem&) = default;
  ~MoverItem() override = default;

  void Init() override;
  void StepDrawnFrame() override;
  void Draw() const override;
  void Move() override;
  void Update() override;

  void AddSpawnFrame(std::int32_t frame) { spawnFrames.push_back(frame); }
  const std::vector<std::int32_t>& GetSpawnFrames() const { return spawnFrames; }
  void SetWeapon(MoverBullet* bullet) { weapon = bullet; }
  MoverBullet* GetWeapon() const { return weapon; }
  void SetItem(std::int32_t newKind, float a, float b, float c, float d);
  std::int32_t GetKind() const { return kind; }
  float GetSpin() const { return spin; }
  bool IsGone() const { return gone; }

 private:
  void TestPickUp();
  // The pop-up and the effect of the item's kind on the ship that picked it up.
  void ApplyTo(MoverMyShip* ship);

  std::vector<std::int32_t> spawnFrames;
  MoverBullet* weapon = nullptr;
  float spin = 0.0f;
  float drawnSpin = 0.0f;  // the spin this frame shows
  std::int32_t kind = kItemScore;
  float itemParam[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  bool gone = false;
};

}  // namespace vorlith
