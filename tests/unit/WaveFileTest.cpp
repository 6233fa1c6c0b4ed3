#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "WaveBytes.h"
#include "sound/ModuleResources.h"
#include "sound/RiffReader.h"
#include "sound/SoundSynth.h"
#include "sound/WaveFile.h"

namespace vorlith {
namespace {

using namespace vorlith::test;

// "RIFF", a size larger than the file, "WAVE": the chunks follow.
Bytes RiffHead() {
  return Concat({ChunkHeader("RIFF", 1000), Bytes{'W', 'A', 'V', 'E'}});
}

void Collect(const char* line, void* trace) {
  *static_cast<std::string*>(trace) += line;
}

// Opens the name (or the bytes written to a file) and returns Open's code and its trace;
// nothing reaches stderr.
HResult OpenTraced(WaveFile& wave, const std::string& name, std::string& trace) {
  trace.clear();
  SetTraceSink(Collect, &trace);
  testing::internal::CaptureStderr();
  HResult hr = wave.Open(name.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  SetTraceSink(nullptr, nullptr);
  return hr;
}

HResult OpenBytes(WaveFile& wave, const Bytes& bytes, std::string* trace = nullptr) {
  std::string ignored;
  return OpenTraced(wave, WriteTemp("test.wav", bytes), trace ? *trace : ignored);
}

Bytes ReadAll(WaveFile& wave, std::uint32_t piece) {
  Bytes out;
  std::vector<std::uint8_t> buffer(piece);
  for (std::uint32_t got = 1; got > 0;) {
    EXPECT_EQ(wave.Read(buffer.data(), piece, &got), S_OK);
    out.insert(out.end(), buffer.begin(), buffer.begin() + got);
  }
  return out;
}

// One trace line: source file name (no directory) and line, step, and the code by name and
// value.
std::string TraceLine(const std::string& step) {
  return R"(WaveFile\.cpp\(\d+\): )" + step + R"( hr=E_FAIL \(0x80004005\)\n)";
}

TEST(WaveFileTest, FindsFormatAndDataWhereverTheyStandAndReadsThemInAnyPieceSize) {
  const Bytes samples = Ramp(50001);  // several of the reader's buffers; odd: a pad byte
  const Bytes layouts[] = {
      Wave({PcmFormat16Mono(), Chunk("data", samples)}),
      Wave({Chunk("LIST", Ramp(8191)), Chunk("JUNK", Ramp(5)), PcmFormat16Mono(),
            Chunk("data", samples)}),
      Wave({Chunk("data", samples), Chunk("fact", Ramp(4)), PcmFormat16Mono()}),
  };
  for (const Bytes& layout : layouts) {
    for (std::uint32_t piece : {1u, 333u, 65536u}) {
      WaveFile wave;
      std::string trace;
      ASSERT_EQ(OpenBytes(wave, layout, &trace), S_OK) << trace;
      const WaveFormatEx& format = *wave.GetFormat();
      EXPECT_EQ(std::tuple(trace, wave.GetSize(), format.nSamplesPerSec, format.wBitsPerSample),
                std::tuple("", samples.size(), 44100u, 16));
      EXPECT_EQ(ReadAll(wave, piece), samples) << piece;
    }
  }
}

TEST(WaveFileTest, RejectsWhatIsNotAWaveWithTheFailingStepAndAReason) {
  const std::string endsInFormat = "the file ends inside its format chunk";
  const std::string notWave = "not a WAVE file: it does not start with RIFF and WAVE";
  const struct {
    const char* what;
    Bytes bytes;
    const char* step;
    std::string reason;
    const char* outer = "ReadMMIO";
  } cases[] = {
      {"not RIFF", Concat({ChunkHeader("RIFX", 12), Ramp(12)}), "mmioFOURCC", notWave},
      {"15-byte fmt", Wave({Chunk("fmt ", Bytes(15, 1)), Chunk("data", Ramp(8))}),
       R"(sizeof\(PCMWAVEFORMAT\))", "its format chunk is shorter than 16 bytes"},
      {"no fmt", Wave({Chunk("data", Ramp(8))}), "mmioDescend",
       "the file has no format chunk (\"fmt \")"},
      {"empty file", Bytes(), "mmioDescend", "not a WAVE file: too short for its RIFF header"},
      {"fmt cut short", Concat({RiffHead(), ChunkHeader("fmt ", 16), Ramp(10)}), "mmioRead",
       endsInFormat},
      {"extra count missing",
       Concat({RiffHead(), ChunkHeader("fmt ", 18), FormatBody(2, 1, 8000, 4)}), "mmioRead",
       endsInFormat},
      {"extra bytes missing",
       Concat(
           {RiffHead(), ChunkHeader("fmt ", 50), FormatBody(2, 1, 8000, 4), Bytes{32, 0}, Ramp(9)}),
       "mmioRead", endsInFormat},
      {"fmt size past 2 GiB",
       Concat({RiffHead(), ChunkHeader("fmt ", 0xFFFFFFF0u), FormatBody(1, 1, 44100, 16)}),
       "mmioAscend", "its format chunk runs past the end of the file"},
      {"no data", Wave({PcmFormat16Mono(), Chunk("LIST", Ramp(6))}), "mmioDescend",
       "the file has no sample data chunk (\"data\")", "ResetFile"},
  };
  for (const auto& c : cases) {
    WaveFile wave;
    std::string trace;
    EXPECT_EQ(OpenBytes(wave, c.bytes, &trace), E_FAIL) << c.what;
    EXPECT_TRUE(std::regex_match(trace, std::regex(TraceLine(c.step) + TraceLine(c.outer))))
        << c.what << ": " << trace;
    EXPECT_EQ(wave.GetFailureReason(), c.reason) << c.what;
  }
}

TEST(WaveFileTest, FormatBlockIs18BytesForPcmAndCarriesTheExtraBytesOtherwise) {
  // An 18-byte PCM "fmt " whose count says 21834 (PCM ignores it), and a non-PCM format with
  // two extra bytes.
  const std::pair<Bytes, Bytes> formats[] = {
      {Concat({FormatBody(1, 1, 11025, 8), Bytes{0x4A, 0x55}}), {}},
      {Concat({FormatBody(2, 1, 8000, 4), Bytes{2, 0, 0xF4, 0x01}}), {0xF4, 0x01}}};
  for (const auto& [body, extra] : formats) {
    WaveFile wave;
    ASSERT_EQ(OpenBytes(wave, Wave({Chunk("fmt ", body), Chunk("data", Ramp(4))})), S_OK);
    const WaveFormatEx& format = *wave.GetFormat();
    EXPECT_EQ(std::tuple(format.wFormatTag, format.cbSize, format.extra),
              std::tuple(body[0], extra.size(), extra));
  }
}

// Arguments and state are checked: no name, no buffer or count, not open (yet, or again).
TEST(WaveFileTest, ReadStopsAtTheEndOfTheDataOrFailsWhereTheFileEndsAndChecksItsArguments) {
  WaveFile wave;
  const Bytes samples = Ramp(600);
  std::vector<std::uint8_t> buffer(20000, 0xEE);
  std::uint32_t got = 1234;
  EXPECT_EQ(wave.Open(nullptr), E_INVALIDARG);
  EXPECT_EQ(wave.Read(buffer.data(), 4, &got), CO_E_NOTINITIALIZED);
  ASSERT_EQ(
      OpenBytes(wave, Wave({PcmFormat16Mono(), Chunk("data", samples), Chunk("LIST", Ramp(40))})),
      S_OK);
  EXPECT_EQ(wave.Read(nullptr, 4, &got), E_INVALIDARG);
  EXPECT_EQ(wave.Read(buffer.data(), 4, nullptr), E_INVALIDARG);
  got = 1234;
  EXPECT_EQ(wave.Read(buffer.data(), 1000, &got), S_OK);
  EXPECT_EQ(got, 600u);
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), buffer.begin()));
  EXPECT_EQ(buffer[600], 0xEE);  // the chunk after the data is not handed out
  EXPECT_EQ(wave.Read(buffer.data(), 1000, &got), S_OK);
  EXPECT_EQ(got, 0u);

  // "data" claims more than the file holds.
  ASSERT_EQ(OpenBytes(wave, Concat({RiffHead(), PcmFormat16Mono(), ChunkHeader("data", 20000),
                                    Ramp(9000)})),
            S_OK);
  EXPECT_EQ(wave.GetSize(), 20000u);
  std::string trace;  // its step and reason: sound.corpus's early EOF and SoundManagerTest
  SetTraceSink(Collect, &trace);
  EXPECT_EQ(wave.Read(buffer.data(), 20000, &got), E_FAIL);
  SetTraceSink(nullptr, nullptr);
  EXPECT_EQ(got, 0u);
  const Bytes expected = Ramp(9000);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin()));
  EXPECT_EQ(wave.Close(), S_OK);
  EXPECT_EQ(wave.Close(), S_OK);
  EXPECT_EQ(wave.Read(buffer.data(), 4, &got), CO_E_NOTINITIALIZED);
}

// The page's sounds are made this way, at the first stage start rather than before the title.
TEST(WaveFileTest, AResourceTableMadeOnFirstUseIsMadeOnceAtTheFirstLookup) {
  static int made = 0;
  static const std::uint8_t bytes[] = {1, 2, 3};
  static const EmbeddedResource table[] = {{"made.bin", "DATA", bytes, 3}};
  AddModuleResourceMaker([] {
    ++made;
    AddModuleResources(table, 1);
  });
  EXPECT_EQ(made, 0);
  const EmbeddedResource* found = FindModuleResource("MADE.bin", "data");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->data, bytes);
  EXPECT_EQ(FindModuleResource("other.bin", "DATA"), nullptr);
  EXPECT_EQ(made, 1);
}

// The page makes its sounds with the synthesiser instead of shipping the files: the bytes
// must be the shipped files' to the last one.
TEST(WaveFileTest, TheSynthesiserMakesTheShippedSoundsByteForByte) {
  const std::pair<const char*, std::vector<std::uint8_t>> sounds[] = {
      {"se_sad04.wav", SoundSynth::MakeShotWave()},
      {"se_sob02.wav", SoundSynth::MakeExplosionWave()}};
  for (const auto& [name, made] : sounds) {
    std::ifstream file(std::string(VORLITH_DATA_DIR "/sound/") + name, std::ios::binary);
    const std::vector<std::uint8_t> shipped{std::istreambuf_iterator<char>(file), {}};
    EXPECT_TRUE(made == shipped) << name << ": " << made.size() << " bytes made";
  }
}

TEST(WaveFileTest, ANameThatIsNoFileOpensTheLinkedResourceOfTypeWaveOrWav) {
  WaveFile fromFile;
  ASSERT_EQ(fromFile.Open(VORLITH_DATA_DIR "/sound/se_sad04.wav"), S_OK);
  const Bytes shot = ReadAll(fromFile, 1000);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(testing::TempDir());  // no ./sound/ here
  WaveFile wave;
  for (const char* name : {"./sound/se_sad04.wav", "./sound/se_sob02.wav"})
    EXPECT_EQ(wave.Open(name), S_OK) << name;  // the game's sounds, linked as "WAVE"
  std::filesystem::current_path(previous);
  ASSERT_EQ(wave.Open("./test/shot_as_wav.wav"), S_OK);  // linked as type "WAV"
  EXPECT_EQ(ReadAll(wave, 1000), shot);

  std::string trace;
  const std::string loop = testing::TempDir() + "wave_loop.wav";
  std::filesystem::remove(loop);
  std::filesystem::create_symlink(loop, loop);
  const std::pair<std::string, std::string> missing[] = {
      {"./sound/no_such_sound.wav", "no such file"},
      {testing::TempDir(), "not a regular file"},
      {loop, "Too many levels of symbolic links"}};
  for (const auto& [name, reason] : missing) {
    EXPECT_EQ(OpenTraced(wave, name, trace), E_FAIL);  // neither file nor resource
    EXPECT_TRUE(std::regex_match(trace, std::regex(TraceLine("FindResource")))) << trace;
    EXPECT_EQ(wave.GetFailureReason(), reason);
  }
  std::filesystem::remove(loop);
  EXPECT_EQ(OpenTraced(wave, "./test/empty.wav", trace), E_FAIL);
  EXPECT_TRUE(std::regex_match(trace, std::regex(TraceLine("SizeofResource")))) << trace;
}

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
  EXPECT_EQ(std::pair(format.dwDataOffset, format.cksize), std::pair(12u + 8 + 3 + 1 + 8, 16u));
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
         (reader->Advance(info) == RiffError::None && info.pchNext != info.pchEndRead))
    seen.push_back(*info.pchNext++);
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
