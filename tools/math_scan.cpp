// Compares the single-precision sin, cos, tan and acos of two C libraries over every float.
// Built twice, natively (glibc) and with emcc (run under node); the native run writes the
// results of a block of inputs, the browser build's run reads them back and counts the inputs
// whose results differ. Inputs are float bit patterns, FIRST a multiple of 2^20.
//   math_scan write FUNC FIRST BLOCKS OUT         results of BLOCKS * 2^20 inputs to OUT
//   math_scan compare FUNC FIRST BLOCKS IN LIST   counts mismatches, appends them to LIST
// FUNC is sin, cos, tan or acos. tools/math_scan.sh runs all 2^32 inputs block by block.
// The mismatch list holds "input result-in-IN result-here" as hexadecimal bits, one a line.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Through volatile pointers so that no call is folded or vectorized away.
float (*volatile sinFn)(float) = [](float x) { return std::sin(x); };
float (*volatile cosFn)(float) = [](float x) { return std::cos(x); };
float (*volatile tanFn)(float) = [](float x) { return std::tan(x); };
float (*volatile acosFn)(float) = [](float x) { return std::acos(x); };

float (*Pick(const char* name))(float) {
  if (std::strcmp(name, "sin") == 0) return sinFn;
  if (std::strcmp(name, "cos") == 0) return cosFn;
  if (std::strcmp(name, "tan") == 0) return tanFn;
  if (std::strcmp(name, "acos") == 0) return acosFn;
  return nullptr;
}

std::uint32_t Bits(float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

// Every NaN result counts as equal to every other (their payloads are not the game's concern).
bool Same(std::uint32_t a, std::uint32_t b) {
  const bool nanA = (a & 0x7fffffffu) > 0x7f800000u, nanB = (b & 0x7fffffffu) > 0x7f800000u;
  return a == b || (nanA && nanB);
}

constexpr std::uint32_t kBlock = 1u << 20;

struct Tally {
  std::uint64_t checked = 0, differ = 0, differBelow72 = 0, differBelow4096 = 0;
};

struct Range {
  std::uint64_t first = 0, end = 0;
};

int Compare(float (*fn)(float), Range range, std::FILE* in, std::FILE* list) {
  std::vector<std::uint32_t> theirs(kBlock);
  Tally tally;
  for (std::uint64_t first = range.first; first < range.end; first += kBlock) {
    if (std::fread(theirs.data(), 4, kBlock, in) != kBlock) {
      std::fprintf(stderr, "math_scan: results end at input %llu\n",
                   static_cast<unsigned long long>(first));
      return 1;
    }
    for (std::uint32_t i = 0; i < kBlock; ++i) {
      const std::uint32_t bits = static_cast<std::uint32_t>(first + i);
      float x;
      std::memcpy(&x, &bits, 4);
      const std::uint32_t mine = Bits(fn(x));
      ++tally.checked;
      if (Same(theirs[i], mine)) continue;
      ++tally.differ;
      if (std::fabs(x) <= 72.0f) ++tally.differBelow72;
      if (std::fabs(x) <= 4096.0f) ++tally.differBelow4096;
      std::fprintf(list, "%08x %08x %08x\n", bits, theirs[i], mine);
    }
  }
  std::printf("checked %llu, differ %llu (|x| <= 72: %llu, |x| <= 4096: %llu)\n",
              static_cast<unsigned long long>(tally.checked),
              static_cast<unsigned long long>(tally.differ),
              static_cast<unsigned long long>(tally.differBelow72),
              static_cast<unsigned long long>(tally.differBelow4096));
  return 0;
}

int Write(float (*fn)(float), Range range, std::FILE* out) {
  std::vector<std::uint32_t> block(kBlock);
  for (std::uint64_t first = range.first; first < range.end; first += kBlock) {
    for (std::uint32_t i = 0; i < kBlock; ++i) {
      const std::uint32_t bits = static_cast<std::uint32_t>(first + i);
      float x;
      std::memcpy(&x, &bits, 4);
      block[i] = Bits(fn(x));
    }
    if (std::fwrite(block.data(), 4, kBlock, out) != kBlock) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool write = argc == 6 && std::strcmp(argv[1], "write") == 0;
  const bool compare = argc == 7 && std::strcmp(argv[1], "compare") == 0;
  float (*fn)(float) = argc > 2 ? Pick(argv[2]) : nullptr;
  Range range;
  if (write || compare) {
    range.first = std::strtoull(argv[3], nullptr, 0);
    range.end = range.first + std::strtoull(argv[4], nullptr, 0) * kBlock;
  }
  if ((!write && !compare) || !fn || range.first % kBlock != 0 || range.end > (1ull << 32)) {
    std::fprintf(stderr,
                 "usage: math_scan write sin|cos|tan|acos FIRST BLOCKS OUT\n"
                 "       math_scan compare sin|cos|tan|acos FIRST BLOCKS IN LIST\n");
    return 2;
  }
  std::FILE* data = std::fopen(argv[5], write ? "wb" : "rb");
  std::FILE* list = compare ? std::fopen(argv[6], "a") : nullptr;
  if (!data || (compare && !list)) {
    std::perror("math_scan");
    return 1;
  }
  const int status = write ? Write(fn, range, data) : Compare(fn, range, data, list);
  std::fclose(data);
  if (list) std::fclose(list);
  return status;
}
