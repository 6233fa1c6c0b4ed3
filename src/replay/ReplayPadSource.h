#pragma once

#include <cstdint>

#include "input/PadSource.h"

namespace vorlith {

class ReplayStream;

// The controls of a replay, one frame of it per read, so the frames played follow the
// game's reads.
class ReplayPadSource : public PadSource {
 public:
  explicit ReplayPadSource(ReplayStream* replay);  // borrowed

  PadState ReadPad() override;

  // Every frame of the replay has been read.
  bool IsFinished() const;
  std::int64_t GetFramesRead() const { return framesRead; }

 private:
  ReplayStream* replay;
  std::int64_t framesRead = 0;
};

}  // namespace vorlith
