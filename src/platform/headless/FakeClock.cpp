#include "platform/headless/FakeClock.h"

namespace vorlith {

void FakeClock::Sleep(std::uint32_t milliseconds) {
  sleeps.push_back(milliseconds);
  now += milliseconds;
}

}  // namespace vorlith
