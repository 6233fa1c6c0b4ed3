#include "sound/Diagnostics.h"

#include <cstdio>
#include <string>

namespace vorlith {
namespace {

struct ResultInfo {
  HResult code;
  const char* name;
  const char* description;
};

constexpr ResultInfo kResults[] = {
    {S_OK, "S_OK", "The operation succeeded."},
    {E_FAIL, "E_FAIL", "Unspecified error."},
    {E_INVALIDARG, "E_INVALIDARG", "One or more arguments are not valid."},
    {CO_E_NOTINITIALIZED, "CO_E_NOTINITIALIZED", "The object has not been initialized."},
};

TraceSink traceSink = nullptr;
void* traceContext = nullptr;

const ResultInfo* FindResult(HResult hr) {
  for (const ResultInfo& info : kResults) {
    if (info.code == hr) return &info;
  }
  return nullptr;
}

}  // namespace

const char* GetResultName(HResult hr) {
  const ResultInfo* info = FindResult(hr);
  return info ? info->name : "Unknown";
}

const char* GetResultDescription(HResult hr) {
  const ResultInfo* info = FindResult(hr);
  return info ? info->description : "Unknown result code.";
}

HResult TraceResult(const char* file, long line, const char* step, HResult hr) {
  char lineText[32];
  std::snprintf(lineText, sizeof lineText, "%ld", line);
  char codeText[96];
  std::snprintf(codeText, sizeof codeText, "%s (0x%08x)", GetResultName(hr),
                static_cast<unsigned>(hr));
  std::string where(file);
  where.erase(0, where.find_last_of("/\\") + 1);  // the file's name, not where it was built
  std::string text = where + "(" + lineText + "): ";
  if (step && *step) text += std::string(step) + " ";
  text += std::string("hr=") + codeText + "\n";
  if (traceSink) traceSink(text.c_str(), traceContext);
  return hr;
}

void SetTraceSink(TraceSink sink, void* context) {
  traceSink = sink;
  traceContext = context;
}

}  // namespace vorlith
