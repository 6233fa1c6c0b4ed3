#pragma once

#include <cstdint>

#include "movers/MoverShooter.h"

namespace vorlith {

class MoverBullet;

// An ordinary enemy: enters on its template's appearance rhythm, follows a motion pattern,
// fires its bullet template on the template's firing rhythm and dies with score.
class MoverEnemy : public MoverShooter {
 public:
  static constexpr std::uint32_t kScoreColour = 0xFFFFFF64;

  MoverEnemy() = default;
  MoverEnemy(const MoverEnemy&) = default;
  MoverEnemy& operator=(const MoverEnemy&) = default;
  ~MoverEnemy() override = default;

  void Init() override;
  void StepDrawnFrame() override;
  void Draw() const override;
  void Move() override;
  void Update() override;

  void SetShot(MoverBullet* bullet, std::int32_t start, std::int32_t interval, std::int32_t count);
  MoverBullet* GetShot() const { return shot; }
  std::int32_t GetAppearStart() const { return appearStart; }
  std::int32_t GetAppearInterval() const { return appearInterval; }
  std::int32_t GetAppearCount() const { return appearCount; }
  // Uses up one appearance of a limited template.
  void CountAppearance();
  bool IsDead() const { return dead; }
  std::int32_t GetAge() const { return age; }

 protected:
  // The firing rhythm at the current age: a volley whenever age - fireStart is a whole
  // multiple of fireInterval while the template has volleys left.
  void FireOnRhythm(MoverBullet* bullet);
  void DrawBody() const;
  // Counts the kill and reports score and kill to the manager.
  void CountKill();

  bool dead = false;
  std::int32_t age = 0;
  // An unconfigured template never fires and never appears.
  MoverBullet* shot = nullptr;
  std::int32_t appearStart = 0;
  std::int32_t appearInterval = 0;
  std::int32_t appearCount = 0;

 private:
  void TestBullets();
};

}  // namespace vorlith
