#include "platform/portable/RegularFileRead.h"

namespace vorlith {

RegularFile::Result ReadRegularFile(bool regular, unsigned long long size, std::size_t maxBytes,
                                    const ReadSome& readSome, std::string& bytes,
                                    std::string& why) {
  if (!regular) {
    why = "not a regular file";
    return RegularFile::Result::Refused;
  }
  if (size > maxBytes) {
    why = std::to_string(size) + " bytes, more than " + std::to_string(maxBytes);
    return RegularFile::Result::TooLarge;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long long got = readSome(&bytes[done], bytes.size() - done, why);
    if (got < 0) return RegularFile::Result::Refused;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return RegularFile::Result::Read;
}

}  // namespace vorlith
