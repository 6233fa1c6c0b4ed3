#pragma once

namespace vorlith {

// fontconfig reads its configuration (some sixty files on a desktop system, several
// milliseconds) at the first face lookup. StartFontConfigAhead has a thread of its own read
// it while the window and the drawing device are being made; WaitForFontConfigAhead, called
// before a lookup, waits for that thread (at once when none was started or it is done).
// Start it before any thread of the program's own exists that forks without exec, and wait
// for it before such a fork (a message box).
void StartFontConfigAhead();
void WaitForFontConfigAhead();

}  // namespace vorlith
