#pragma once

#include <cstdint>

namespace vorlith {

// Result codes of the WAVE reader: 0 for success, negative for failure.
using HResult = std::int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
inline constexpr HResult CO_E_NOTINITIALIZED = static_cast<HResult>(0x800401F0u);

inline constexpr bool Failed(HResult hr) {
  return hr < 0;
}

// Symbolic name and description of a result code; "Unknown" for codes not in the table.
const char* GetResultName(HResult hr);
const char* GetResultDescription(HResult hr);

// Hands one line to the trace sink (a developer's tool such as wavinfo), if one is set:
//   <file name>(<line>): <step> hr=<NAME> (0x<code>)
// The step and its blank are left out when the step is empty. Without a sink the line goes
// nowhere: a player is told the reader's reason instead. Returns hr.
HResult TraceResult(const char* file, long line, const char* step, HResult hr);

// Where trace lines go; null drops them.
using TraceSink = void (*)(const char* line, void* context);
void SetTraceSink(TraceSink sink, void* context);

}  // namespace vorlith

// Traces a failed step at the place it failed and yields its code.
#define VORLITH_TRACE(step, hr) ::vorlith::TraceResult(__FILE__, __LINE__, (step), (hr))
