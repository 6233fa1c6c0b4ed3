#include "stage/ComboCounter.h"

namespace vorlith {

std::uint32_t ComboCounter::Step(std::int32_t kills) {
  if (kills != 0) {
    count += kills;
    timer = 0;
  } else if (timer < INT32_MAX) {
    timer += 1;
  }
  if (timer <= kPause) return 0;
  std::uint32_t paid = 0;
  if (count > 0) {
    const std::uint32_t bonus =
        static_cast<std::uint32_t>(count) * static_cast<std::uint32_t>(count) * 100u;
    paid = bonus - bonus % 100u;
  }
  count = 0;
  return paid;
}

}  // namespace vorlith
