#include <gtest/gtest.h>

#include "WaveBytes.h"
#include "sound/RiffReader.h"

namespace vorlith {
namespace {

using namespace vorlith::test;

// The same bytes through both kinds of reader: a file, and memory (linked-in resources).
class RiffReaderTest : public testing::TestWithParam<bool> {
 protected:
  std::unique_ptr<RiffReader> Open(const Bytes& bytes) {
    held = bytes;
    if (GetParam()) return RiffReader::OpenMemory(held.data(), held.size());
    return RiffReader::OpenFile(WriteTemp("riff.bin", held).c_str());
  }
  Bytes held;
};

TEST_P(RiffReaderTest, SearchStaysInsideTheParentAndSkipsPadBytes) {
  // RIFF holds an odd LIST (with its pad byte) and "fmt "; "data" lies after the RIFF chunk.
  Bytes riff = Wave({Chunk("LIST", Ramp(3)), PcmFormat16Mono()});
  auto reader = Open(Concat({riff, Chunk("data", Ramp(4))}));
  RiffChunk outer, data, format;
  ASSERT_EQ(reader->Descend(outer, nullptr, 0), RiffError::None);
  EXPECT_EQ(outer.fccType, MakeFourCC('W', 'A', 'V', 'E'));
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), 12);
  data.ckid = MakeFourCC('d', 'a', 't', 'a');
  EXPECT_EQ(reader->Descend(data, &outer, RiffReader::kFindChunk), RiffError::ChunkNotFound);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), 12);  // left where it was
  format.ckid = MakeFourCC('f', 'm', 't', ' ');
  ASSERT_EQ(reader->Descend(format, &outer, RiffReader::kFindChunk), RiffError::None);
  EXPECT_EQ(format.dwDataOffset, 12u + 8 + 3 + 1 + 8);
  EXPECT_EQ(format.cksize, 16u);
  ASSERT_EQ(reader->Ascend(format), RiffError::None);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), static_cast<long>(riff.size()));
  EXPECT_EQ(reader->Descend(data, nullptr, RiffReader::kFindChunk), RiffError::None);
}

TEST_P(RiffReaderTest, DirectBufferAccessWalksTheWholeFileAndNoFurther) {
  const Bytes bytes = Ramp(3 * RiffReader::kBufferSize + 5);
  auto reader = Open(bytes);
  RiffIoInfo info;
  ASSERT_EQ(reader->GetInfo(info), RiffError::None);
  Bytes seen;
  while (info.pchNext != info.pchEndRead ||
         (reader->Advance(info) == RiffError::None && info.pchNext != info.pchEndRead)) {
    seen.push_back(*info.pchNext++);
  }
  EXPECT_EQ(seen, bytes);
  ASSERT_EQ(reader->SetInfo(info), RiffError::None);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), static_cast<long>(bytes.size()));
  RiffIoInfo stray = info;
  stray.pchNext = info.pchEndRead + 1;
  EXPECT_EQ(reader->SetInfo(stray), RiffError::InvalidInfo);

  // Seeking past the end is allowed and reads nothing; offsets stay within 0..kMaxOffset.
  std::uint8_t byte = 0;
  EXPECT_EQ(reader->Seek(50000, SEEK_SET), 50000);
  EXPECT_EQ(reader->Read(&byte, 1), 0);
  ASSERT_EQ(reader->GetInfo(info), RiffError::None);
  ASSERT_EQ(reader->Advance(info), RiffError::None);
  EXPECT_EQ(info.pchNext, info.pchEndRead);
  EXPECT_EQ(reader->Seek(-1, SEEK_SET), -1);
  EXPECT_EQ(reader->Seek(RiffReader::kMaxOffset, SEEK_SET), RiffReader::kMaxOffset);
  EXPECT_EQ(reader->Seek(1, SEEK_CUR), -1);
  EXPECT_EQ(reader->Seek(-10, SEEK_END), static_cast<long>(bytes.size()) - 10);
  EXPECT_EQ(reader->Read(&byte, 1), 1);
  EXPECT_EQ(byte, bytes[bytes.size() - 10]);
}

TEST_P(RiffReaderTest, ChunkSizesNearTheOffsetLimitEndTheSearch) {
  auto reader = Open(Concat({ChunkHeader("JUNK", 0xFFFFFFFFu), Chunk("fmt ", Ramp(16))}));
  RiffChunk format, junk;
  format.ckid = MakeFourCC('f', 'm', 't', ' ');
  EXPECT_EQ(reader->Descend(format, nullptr, RiffReader::kFindChunk), RiffError::ChunkNotFound);
  ASSERT_EQ(reader->Descend(junk, nullptr, 0), RiffError::None);
  EXPECT_EQ(reader->Ascend(junk), RiffError::CannotSeek);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, RiffReaderTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Memory" : "File"; });

}  // namespace
}  // namespace vorlith
