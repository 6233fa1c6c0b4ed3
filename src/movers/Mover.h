#pragma once

#include <cstdint>

#include "base/RenderTypes.h"

namespace vorlith {

class Model;
class MoverMyShip;
class MoverWorld;

// Every object on the 100 x 100 game plane: x to the right, y downward, headings in degrees
// clockwise from up. A plain Mover is the line kind that frames the field.
class Mover {
 public:
  static constexpr int FIELD_WIDTH = 100;
  static constexpr int FIELD_HEIGHT = 100;
  static constexpr int OUTER_WIDTH = 120;
  static constexpr int OUTER_HEIGHT = 120;
  // Degrees to radians and back, with the game's own rounding of the two factors.
  static constexpr float kDegToRad = 0.017453292f;
  static constexpr float kRadToDeg = 57.2957763671875f;
  static constexpr int kPopupFrames = 60;

  Mover() = default;
  virtual ~Mover() = default;

  virtual void Init() {}
  // Once per drawn frame, before anything is drawn: what the frame's picture moves on (the
  // pop-up's countdown, an item's spin). Draw then only draws.
  virtual void StepDrawnFrame() {}
  virtual void Draw() const;
  virtual void Move() {}
  virtual void Update() {}

  void SetModel(Model* newModel) { model = newModel; }
  Model* GetModel() const { return model; }
  void SetOwner(Mover* mover) { owner = mover; }
  Mover* GetOwner() const { return owner; }
  void SetPosition(float x, float y, float z) { position = Vec3{x, y, z}; }
  Vec3 GetPosition() const { return position; }
  void Translate(float dx, float dy, float dz);
  void SetSpeed(float f) { speed = f; }
  float GetSpeed() const { return speed; }
  void SetAngle(float f) { angle = f; }
  float GetAngle() const { return angle; }
  void SetTimer(std::int32_t n) { timer = n; }
  std::int32_t GetTimer() const { return timer; }
  void SetHp(std::int32_t n);
  std::int32_t GetHp() const { return hp; }
  std::int32_t GetHpMax() const { return hpMax; }
  void Damage(std::int32_t n);
  void Heal(std::int32_t n);
  void RaiseHpMax(std::int32_t n);
  void SetSize(std::int32_t n) { size = n; }
  std::int32_t GetSize() const { return size; }
  void SetScore(std::int32_t n) { score = n; }
  std::int32_t GetScore() const { return score; }
  void SetMotion(std::int32_t type, float p1, float p2, float p3, float p4, float p5);
  std::int32_t GetMotionType() const { return motionType; }
  float GetMotionParam(int index) const { return motionParam[index]; }
  bool IsFinished() const { return finished; }

  // True while the mover stands within 10 units of the field on every side.
  bool InOuterField() const;
  // Hit-box rule: a point is inside the square of side `size` (half side truncated).
  bool Contains(const Vec3& point) const;
  // The pop-up text, in the frames whose step counted it down.
  void DrawPopup() const;
  std::int32_t GetPopupFrames() const { return popupFrames; }
  std::int32_t GetPopupNumber() const { return popupNumber; }
  const char* GetPopupText() const { return popupText; }
  std::uint32_t GetPopupColor() const { return popupColor; }

  // Float to integer toward zero; out of range and NaN give INT32_MIN as the processor does.
  static std::int32_t Truncate(float value);

  // The stage this mover plays in (null for none); copies keep it.
  void SetWorld(MoverWorld* stageWorld) { world = stageWorld; }
  MoverWorld* GetWorld() const { return world; }

 protected:
  Mover(const Mover&) = default;
  Mover& operator=(const Mover&) = default;

  // Heading from the owner, velocity for the straight and aimed motions, and the start
  // three units ahead of the owner.
  void StartMotion();
  // One frame of the motion pattern `type` (1 to 9); other types stand still.
  void RunMotion(std::int32_t type);
  void DrawModel(float rotX, float rotY, float rotZ) const;
  // One drawn frame of the pop-up: shown in this frame when frames were left, one fewer.
  void CountDownPopup();
  void ShowPopupNumber(std::int32_t number, std::uint32_t colour);
  void ShowPopupText(const char* text, std::uint32_t colour);
  // The player's ship in slot 0 of the world's ship slots, or null.
  MoverMyShip* PlayerShip() const;
  void PlaySound(int slot);

  MoverWorld* world = nullptr;
  Model* model = nullptr;
  Mover* owner = nullptr;
  Vec3 position{0.0f, 0.0f, 0.0f};
  float speed = 1.0f;
  float angle = 180.0f;
  std::int32_t timer = 9999;
  std::int32_t hp = 1;
  std::int32_t hpMax = 1;
  std::int32_t size = 5;
  std::int32_t score = 0;
  std::int32_t popupFrames = 0;
  std::int32_t popupNumber = 0;
  const char* popupText = nullptr;
  std::uint32_t popupColor = 0;
  bool popupShown = false;
  bool finished = false;
  std::int32_t motionType = 0;
  float motionParam[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

 private:
  void AimAtShip(float& heading);
  void MoveStraight();
  void MoveAccelerating();
  void MoveHoming();
  void MoveEllipse();
  void MoveHyperbola();
  void MoveFigure(float xFactor, float yFactor);
  void MoveInvolute();
};

}  // namespace vorlith
