#include "replay/ReplayPadSource.h"

#include "replay/ReplayFormat.h"
#include "replay/ReplayStream.h"

namespace vorlith {

ReplayPadSource::ReplayPadSource(ReplayStream* replay) : replay(replay) {}

PadState ReplayPadSource::ReadPad() {
  ++framesRead;
  return PadFromControls(replay->ReadFrame());
}

bool ReplayPadSource::IsFinished() const {
  return framesRead >= replay->GetFrameCount();
}

}  // namespace vorlith
