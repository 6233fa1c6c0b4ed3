#pragma once

#include <cstdint>

namespace vorlith {

// Kills that follow each other within 30 drawn frames form a combo; when it ends it pays
// the square of its length in hundreds. The game keeps one for the whole program run: stage
// starts, continues and returns to the title leave it as it is.
class ComboCounter {
 public:
  static constexpr std::int32_t kPause = 30;

  // One drawn play frame with `kills` new kills; returns the bonus to pay (0 for none).
  std::uint32_t Step(std::int32_t kills);
  std::int32_t GetCount() const { return count; }
  std::int32_t GetTimer() const { return timer; }
  // Takes up a combo as a replay's first frame found it.
  void Resume(std::int32_t kills, std::int32_t frames) {
    count = kills;
    timer = frames;
  }

 private:
  std::int32_t count = 0;
  std::int32_t timer = 0;
};

}  // namespace vorlith
