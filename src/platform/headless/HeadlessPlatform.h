#pragma once

#include <memory>

#include "platform/Clock.h"
#include "platform/Platform.h"

namespace vorlith {

// The headless members in one bundle, on the target's clock.
std::unique_ptr<Platform> MakeHeadlessPlatform(std::unique_ptr<Clock> clock);

}  // namespace vorlith
