#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "WaveBytes.h"
#include "sound/WaveFile.h"

namespace vorlith {
namespace {

using namespace vorlith::test;

// Opens the bytes as a file and returns Open's code and what it traced.
struct Opened {
  HResult hr;
  std::string trace;
};

// "RIFF", a size larger than the file, "WAVE": the chunks follow.
Bytes RiffHead() {
  return Concat({ChunkHeader("RIFF", 1000), Bytes{'W', 'A', 'V', 'E'}});
}

Opened OpenBytes(WaveFile& wave, const std::string& name, const Bytes& bytes) {
  std::string path = WriteTemp(name, bytes);
  testing::internal::CaptureStderr();
  HResult hr = wave.Open(path.c_str());
  return {hr, testing::internal::GetCapturedStderr()};
}

Bytes ReadAll(WaveFile& wave, std::uint32_t piece) {
  Bytes out;
  std::vector<std::uint8_t> buffer(piece);
  for (;;) {
    std::uint32_t got = 0;
    EXPECT_EQ(wave.Read(buffer.data(), piece, &got), S_OK);
    if (got == 0) return out;
    out.insert(out.end(), buffer.begin(), buffer.begin() + got);
  }
}

TEST(WaveFileTest, FindsFormatAndDataWhereverTheyStand) {
  const Bytes samples = Ramp(1001);  // odd: the pad byte must not count as data
  const Bytes layouts[] = {
      Wave({PcmFormat16Mono(), Chunk("data", samples)}),
      Wave({Chunk("LIST", Ramp(33)), Chunk("JUNK", Ramp(5)), PcmFormat16Mono(),
            Chunk("data", samples)}),
      Wave({Chunk("data", samples), Chunk("fact", Ramp(4)), PcmFormat16Mono()}),
  };
  for (const Bytes& layout : layouts) {
    WaveFile wave;
    Opened opened = OpenBytes(wave, "layout.wav", layout);
    ASSERT_EQ(opened.hr, S_OK) << opened.trace;
    EXPECT_EQ(opened.trace, "");
    EXPECT_EQ(wave.GetSize(), 1001u);
    EXPECT_EQ(wave.GetFormat()->nSamplesPerSec, 44100u);
    EXPECT_EQ(wave.GetFormat()->wBitsPerSample, 16);
    EXPECT_EQ(ReadAll(wave, 97), samples);
  }
}

TEST(WaveFileTest, RejectsWhatIsNotAWaveWithTheFailingStep) {
  struct Case {
    const char* what;
    Bytes bytes;
    const char* step;
  };
  const Case cases[] = {
      {"other form", Riff("XWMA", {PcmFormat16Mono(), Chunk("data", Ramp(8))}), "mmioFOURCC"},
      {"not RIFF", Concat({ChunkHeader("RIFX", 12), Ramp(12)}), "mmioFOURCC"},
      {"14-byte fmt", Wave({Chunk("fmt ", Bytes(14, 1)), Chunk("data", Ramp(8))}),
       "sizeof(PCMWAVEFORMAT)"},
      {"no fmt", Wave({Chunk("data", Ramp(8))}), "mmioDescend"},
      {"empty file", Bytes(), "mmioDescend"},
      {"fmt cut short", Concat({RiffHead(), ChunkHeader("fmt ", 16), Ramp(10)}), "mmioRead"},
      {"extra count missing",
       Concat({RiffHead(), ChunkHeader("fmt ", 18), FormatBody(2, 1, 8000, 4)}), "mmioRead"},
      {"extra bytes missing",
       Concat(
           {RiffHead(), ChunkHeader("fmt ", 50), FormatBody(2, 1, 8000, 4), Bytes{32, 0}, Ramp(9)}),
       "mmioRead"},
      {"fmt size past 2 GiB",
       Concat({RiffHead(), ChunkHeader("fmt ", 0xFFFFFFF0u), FormatBody(1, 1, 44100, 16)}),
       "mmioAscend"},
  };
  for (const Case& c : cases) {
    WaveFile wave;
    Opened opened = OpenBytes(wave, "bad.wav", c.bytes);
    EXPECT_EQ(opened.hr, E_FAIL) << c.what;
    EXPECT_NE(opened.trace.find(std::string("): ") + c.step + " hr=E_FAIL (0x80004005)\n"),
              std::string::npos)
        << c.what << ": " << opened.trace;
    EXPECT_NE(opened.trace.find("ReadMMIO hr=E_FAIL (0x80004005)\n"), std::string::npos) << c.what;
  }
}

TEST(WaveFileTest, TraceLineNamesFileLineStepAndCode) {
  WaveFile wave;
  Opened opened =
      OpenBytes(wave, "xwma.wav", Riff("XWMA", {PcmFormat16Mono(), Chunk("data", Ramp(8))}));
  std::regex line(R"(^.*WaveFile\.cpp\((\d+)\): mmioFOURCC hr=E_FAIL \(0x80004005\)\n)"
                  R"(.*WaveFile\.cpp\((\d+)\): ReadMMIO hr=E_FAIL \(0x80004005\)\n$)");
  EXPECT_TRUE(std::regex_match(opened.trace, line)) << opened.trace;
}

TEST(WaveFileTest, DataChunkMissingFailsInResetFile) {
  WaveFile wave;
  Opened opened = OpenBytes(wave, "nodata.wav", Wave({PcmFormat16Mono(), Chunk("LIST", Ramp(6))}));
  EXPECT_EQ(opened.hr, E_FAIL);
  EXPECT_NE(opened.trace.find("mmioDescend hr=E_FAIL"), std::string::npos);
  EXPECT_NE(opened.trace.find("ResetFile hr=E_FAIL"), std::string::npos);
}

TEST(WaveFileTest, FormatBlockIs18BytesForPcmAndCarriesTheExtraBytesOtherwise) {
  {
    WaveFile wave;  // an 18-byte PCM "fmt " whose count says 21834: PCM ignores it
    Bytes body = Concat({FormatBody(1, 1, 11025, 8), Bytes{0x4A, 0x55}});
    ASSERT_EQ(OpenBytes(wave, "pcm18.wav", Wave({Chunk("fmt ", body), Chunk("data", Ramp(4))})).hr,
              S_OK);
    EXPECT_EQ(wave.GetFormat()->cbSize, 0);
    EXPECT_TRUE(wave.GetFormat()->extra.empty());
  }
  {
    WaveFile wave;  // a non-PCM format with two extra bytes
    Bytes body = Concat({FormatBody(2, 1, 8000, 4), Bytes{2, 0, 0xF4, 0x01}});
    ASSERT_EQ(OpenBytes(wave, "adpcm.wav", Wave({Chunk("fmt ", body), Chunk("data", Ramp(4))})).hr,
              S_OK);
    EXPECT_EQ(wave.GetFormat()->wFormatTag, 2);
    EXPECT_EQ(wave.GetFormat()->cbSize, 2);
    EXPECT_EQ(wave.GetFormat()->extra, (Bytes{0xF4, 0x01}));
  }
}

TEST(WaveFileTest, ReadStopsAtTheEndOfTheData) {
  WaveFile wave;
  const Bytes samples = Ramp(600);
  ASSERT_EQ(OpenBytes(wave, "short.wav",
                      Wave({PcmFormat16Mono(), Chunk("data", samples), Chunk("LIST", Ramp(40))}))
                .hr,
            S_OK);
  std::vector<std::uint8_t> buffer(1000, 0xEE);
  std::uint32_t got = 1234;
  EXPECT_EQ(wave.Read(buffer.data(), 1000, &got), S_OK);
  EXPECT_EQ(got, 600u);
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), buffer.begin()));
  EXPECT_EQ(buffer[600], 0xEE);  // the chunk after the data is not handed out
  EXPECT_EQ(wave.Read(buffer.data(), 1000, &got), S_OK);
  EXPECT_EQ(got, 0u);
}

TEST(WaveFileTest, DataClaimingMoreThanTheFileHoldsFailsAtItsEnd) {
  WaveFile wave;
  Bytes bytes = Concat({RiffHead(), PcmFormat16Mono(), ChunkHeader("data", 20000), Ramp(9000)});
  ASSERT_EQ(OpenBytes(wave, "cut.wav", bytes).hr, S_OK);
  EXPECT_EQ(wave.GetSize(), 20000u);
  std::vector<std::uint8_t> buffer(20000);
  std::uint32_t got = 77;
  testing::internal::CaptureStderr();
  EXPECT_EQ(wave.Read(buffer.data(), 20000, &got), E_FAIL);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("mmioinfoIn.pchNext hr=E_FAIL"),
            std::string::npos);
  EXPECT_EQ(got, 0u);
  Bytes expected = Ramp(9000);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin()));
}

TEST(WaveFileTest, LargeDataReadsTheSameInAnyPieceSize) {
  const Bytes samples = Ramp(50000);  // several of the reader's buffers
  const std::string path = WriteTemp(
      "large.wav", Wave({Chunk("LIST", Ramp(8191)), PcmFormat16Mono(), Chunk("data", samples)}));
  for (std::uint32_t piece : {1u, 333u, 8192u, 65536u}) {
    WaveFile wave;
    ASSERT_EQ(wave.Open(path.c_str()), S_OK);
    EXPECT_EQ(ReadAll(wave, piece), samples) << piece;
  }
}

TEST(WaveFileTest, ArgumentsAndStateAreChecked) {
  WaveFile wave;
  std::uint8_t buffer[4];
  std::uint32_t got = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(wave.Open(nullptr), E_INVALIDARG);
  EXPECT_EQ(wave.Read(buffer, 4, &got), CO_E_NOTINITIALIZED);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_EQ(OpenBytes(wave, "args.wav", Wave({PcmFormat16Mono(), Chunk("data", Ramp(4))})).hr,
            S_OK);
  EXPECT_EQ(wave.Read(nullptr, 4, &got), E_INVALIDARG);
  EXPECT_EQ(wave.Read(buffer, 4, nullptr), E_INVALIDARG);
  EXPECT_EQ(wave.Close(), S_OK);
  EXPECT_EQ(wave.Read(buffer, 4, &got), CO_E_NOTINITIALIZED);
  EXPECT_EQ(wave.Close(), S_OK);
}

TEST(WaveFileTest, NameThatIsNoFileOpensTheLinkedResource) {
  WaveFile fromResource;
  ASSERT_EQ(fromResource.Open("./test/shot_as_wav.wav"), S_OK);  // linked as type "WAV"
  WaveFile fromFile;
  ASSERT_EQ(fromFile.Open(VORLITH_DATA_DIR "/sound/se_sad04.wav"), S_OK);
  EXPECT_EQ(fromResource.GetSize(), fromFile.GetSize());
  EXPECT_EQ(ReadAll(fromResource, 1000), ReadAll(fromFile, 1000));
}

TEST(WaveFileTest, GameSoundsFallBackToTheirLinkedCopies) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(testing::TempDir());  // no ./sound/ here
  for (const char* name : {"./sound/se_sad04.wav", "./sound/se_sob02.wav"}) {
    WaveFile wave;
    EXPECT_EQ(wave.Open(name), S_OK) << name;
    EXPECT_EQ(wave.GetFormat()->nSamplesPerSec, 44100u);
  }
  std::filesystem::current_path(previous);
}

TEST(WaveFileTest, NeitherFileNorResourceFailsInFindResource) {
  WaveFile wave;
  testing::internal::CaptureStderr();
  EXPECT_EQ(wave.Open("./sound/no_such_sound.wav"), E_FAIL);
  std::string trace = testing::internal::GetCapturedStderr();
  EXPECT_NE(trace.find("FindResource hr=E_FAIL (0x80004005)\n"), std::string::npos) << trace;
  testing::internal::CaptureStderr();
  EXPECT_EQ(wave.Open("./test/empty.wav"), E_FAIL);
  trace = testing::internal::GetCapturedStderr();
  EXPECT_NE(trace.find("SizeofResource hr=E_FAIL"), std::string::npos) << trace;
}

}  // namespace
}  // namespace vorlith
