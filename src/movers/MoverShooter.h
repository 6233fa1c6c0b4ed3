#pragma once

#include "movers/Mover.h"

namespace vorlith {

class MoverBullet;

// A mover that fires copies of bullet templates: the ship, enemies and the boss.
class MoverShooter : public Mover {
 public:
  MoverShooter() = default;
  ~MoverShooter() override = default;

  // n bullets side by side, 2 units apart, centred on the shooter.
  virtual void FireParallel(MoverBullet* bullet, int n);
  // `ways` bullets fanned `spreadStep` degrees apart around the shooter's heading.
  virtual void FireSpread(MoverBullet* bullet);

  // One volley of the template's firing pattern: 1 two parallel, 2 three parallel,
  // 3 a spread, anything else one bullet.
  void FireVolley(MoverBullet* bullet);

 protected:
  MoverShooter(const MoverShooter&) = default;
  MoverShooter& operator=(const MoverShooter&) = default;

 private:
  // Hands a fired bullet to the manager; a bullet it refuses is destroyed here.
  void Launch(MoverBullet* bullet) const;
};

}  // namespace vorlith
