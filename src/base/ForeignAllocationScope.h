#pragma once

// While one of these lives, LeakSanitizer ignores what the current thread allocates. For
// calls into system libraries that keep allocations they never free: the OpenGL drivers that
// SDL loads for a window and unloads again (their leaks cannot even be attributed, as the
// code is gone by the time leaks are reported). Does nothing in builds without the sanitizer.
#if defined(__SANITIZE_ADDRESS__)
#define VORLITH_HAS_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLITH_HAS_LSAN 1
#endif
#endif

#ifdef VORLITH_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace vorlith {

class ForeignAllocationScope {
 public:
#ifdef VORLITH_HAS_LSAN
  ForeignAllocationScope() {
    __lsan_disable();
  }
  ~ForeignAllocationScope() {
    __lsan_enable();
  }
#else
  // User-provided, so that a scope variable does not count as unused.
  ForeignAllocationScope() {}
  ~ForeignAllocationScope() {}
#endif
  ForeignAllocationScope(const ForeignAllocationScope&) = delete;
  ForeignAllocationScope& operator=(const ForeignAllocationScope&) = delete;
};

}  // namespace vorlith
