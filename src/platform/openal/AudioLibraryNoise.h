#pragma once

namespace vorlith {

// Keeps the audio libraries' own lines off stderr: OpenAL Soft's log and libasound's errors,
// which both print while they look for a sound card that is not there (the game reports a
// missing output itself, in one line). Unless the user asked for OpenAL Soft's log
// (ALSOFT_LOGLEVEL set), in which case both speak. Call before the first device is opened;
// later calls do nothing.
void KeepAudioLibrariesQuiet();

}  // namespace vorlith
