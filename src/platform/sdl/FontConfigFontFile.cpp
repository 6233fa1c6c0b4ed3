#include <fontconfig/fontconfig.h>

#include "platform/sdl/FontConfigAhead.h"
#include "platform/sdl/TtfFontRasterizer.h"

namespace vorlith {

// LeakSanitizer's list of leaks that are not ours (read in sanitizer builds, unused
// otherwise; one list for the whole program, so every platform library's entry goes here):
// fontconfig keeps, and on some versions loses track of, what it parsed from its
// configuration. (Leaks of the OpenGL drivers: ForeignAllocationScope.)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

std::string TtfFontRasterizer::FindFontFile(const std::string& faceName, int& faceIndex,
                                            bool proportional) {
  faceIndex = 0;
  WaitForFontConfigAhead();
  if (!FcInit()) return {};
  const std::string query = (faceName.empty() ? std::string("sans-serif") : faceName) + ":lang=ja";
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(query.c_str()));
  if (!pattern) return {};
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  if (!fonts) return {};
  // The best Japanese-capable match, or when asked the best proportional one there is.
  const FcPattern* chosen = nullptr;
  for (int pass = proportional ? 0 : 1; pass < 2 && !chosen; ++pass) {
    for (int i = 0; i < fonts->nfont && !chosen; ++i) {
      FcLangSet* languages = nullptr;
      if (FcPatternGetLangSet(fonts->fonts[i], FC_LANG, 0, &languages) != FcResultMatch ||
          FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual) {
        continue;
      }
      int spacing = FC_PROPORTIONAL;
      FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing);
      if (pass == 1 || spacing == FC_PROPORTIONAL) chosen = fonts->fonts[i];
    }
  }
  std::string path;
  FcChar8* file = nullptr;
  if (chosen && FcPatternGetString(chosen, FC_FILE, 0, &file) == FcResultMatch && file) {
    path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(chosen, FC_INDEX, 0, &index) == FcResultMatch) faceIndex = index;
  }
  FcFontSetDestroy(fonts);
  return path;
}

}  // namespace vorlith
