#include <gtest/gtest.h>

#include "WaveBytes.h"
#include "sound/RiffReader.h"

namespace vorlith {
namespace {

using namespace vorlith::test;

constexpr std::uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr std::uint32_t kData = MakeFourCC('d', 'a', 't', 'a');

// The same bytes through both kinds of reader.
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
  RiffChunk outer;
  ASSERT_EQ(reader->Descend(outer, nullptr, 0), RiffError::None);
  EXPECT_EQ(outer.fccType, MakeFourCC('W', 'A', 'V', 'E'));
  EXPECT_EQ(outer.dwDataOffset, 8u);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), 12);
  RiffChunk data;
  data.ckid = kData;
  EXPECT_EQ(reader->Descend(data, &outer, RiffReader::kFindChunk), RiffError::ChunkNotFound);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), 12);  // left where it was
  RiffChunk format;
  format.ckid = kFmt;
  ASSERT_EQ(reader->Descend(format, &outer, RiffReader::kFindChunk), RiffError::None);
  EXPECT_EQ(format.dwDataOffset, 12u + 8 + 3 + 1 + 8);
  EXPECT_EQ(format.cksize, 16u);
  ASSERT_EQ(reader->Ascend(format), RiffError::None);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), static_cast<long>(riff.size()));
  EXPECT_EQ(reader->Descend(data, nullptr, RiffReader::kFindChunk), RiffError::None);
}

TEST_P(RiffReaderTest, SeekingPastTheEndReadsNothing) {
  auto reader = Open(Ramp(100));
  EXPECT_EQ(reader->Seek(5000, SEEK_SET), 5000);
  std::uint8_t byte = 0;
  EXPECT_EQ(reader->Read(&byte, 1), 0);
  RiffIoInfo info;
  ASSERT_EQ(reader->GetInfo(info), RiffError::None);
  EXPECT_EQ(info.pchNext, info.pchEndRead);
  ASSERT_EQ(reader->Advance(info), RiffError::None);
  EXPECT_EQ(info.pchNext, info.pchEndRead);
  EXPECT_EQ(reader->Seek(-1, SEEK_SET), -1);
  EXPECT_EQ(reader->Seek(RiffReader::kMaxOffset, SEEK_SET), RiffReader::kMaxOffset);
  EXPECT_EQ(reader->Seek(1, SEEK_CUR), -1);
  EXPECT_EQ(reader->Seek(-10, SEEK_END), 90);
  EXPECT_EQ(reader->Read(&byte, 1), 1);
  EXPECT_EQ(byte, Ramp(100)[90]);
}

TEST_P(RiffReaderTest, DirectBufferAccessWalksTheWholeFile) {
  const Bytes bytes = Ramp(3 * RiffReader::kBufferSize + 5);
  auto reader = Open(bytes);
  RiffIoInfo info;
  ASSERT_EQ(reader->GetInfo(info), RiffError::None);
  Bytes seen;
  for (;;) {
    if (info.pchNext == info.pchEndRead) {
      ASSERT_EQ(reader->Advance(info), RiffError::None);
      if (info.pchNext == info.pchEndRead) break;
    }
    seen.push_back(*info.pchNext++);
  }
  EXPECT_EQ(seen, bytes);
  ASSERT_EQ(reader->SetInfo(info), RiffError::None);
  EXPECT_EQ(reader->Seek(0, SEEK_CUR), static_cast<long>(bytes.size()));
  RiffIoInfo stray = info;
  stray.pchNext = info.pchEndRead + 1;
  EXPECT_EQ(reader->SetInfo(stray), RiffError::InvalidInfo);
}

TEST_P(RiffReaderTest, ChunkSizesNearTheOffsetLimitEndTheSearch) {
  auto reader = Open(Concat({ChunkHeader("JUNK", 0xFFFFFFFFu), Chunk("fmt ", Ramp(16))}));
  RiffChunk format;
  format.ckid = kFmt;
  EXPECT_EQ(reader->Descend(format, nullptr, RiffReader::kFindChunk), RiffError::ChunkNotFound);
  RiffChunk junk;
  ASSERT_EQ(reader->Descend(junk, nullptr, 0), RiffError::None);
  EXPECT_EQ(reader->Ascend(junk), RiffError::CannotSeek);
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, RiffReaderTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Memory" : "File";
                         });

TEST(RiffReaderFileTest, OnlyRegularFilesOpen) {
  EXPECT_EQ(RiffReader::OpenFile(nullptr), nullptr);
  EXPECT_EQ(RiffReader::OpenFile(testing::TempDir().c_str()), nullptr);  // a directory
  EXPECT_EQ(RiffReader::OpenFile("/no/such/file.wav"), nullptr);
}

}  // namespace
}  // namespace vorlith
