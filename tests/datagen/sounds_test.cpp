// The generated sound effects, judged by analysis: a real WAV of the game's format, length, level,
// no DC, clean starts and ends, and the pitch course where the sound's job needs one.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "dataset.h"
#include "parts.h"
#include "test_support.h"

namespace {
constexpr int kSounds = 20;
constexpr double kRate = 22050;

struct Pcm {
  bool valid = false;
  std::vector<double> samples;  // -1..1
  double Seconds() const { return samples.size() / kRate; }
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8;
}

// Walks the RIFF chunks; valid only for 22 050 Hz mono 16-bit PCM with a whole data chunk.
Pcm ReadWav(const std::vector<uint8_t>& b) {
  Pcm pcm;
  if (b.size() < 12 || memcmp(b.data(), "RIFF", 4) != 0 || memcmp(b.data() + 8, "WAVE", 4) != 0 ||
      U32(b, 4) != b.size() - 8)
    return pcm;
  bool formatOk = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t size = U32(b, at + 4);
    if (at + 8 + size > b.size()) return pcm;
    if (memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16)
      formatOk = U16(b, at + 8) == 1 && U16(b, at + 10) == 1 && U32(b, at + 12) == kRate &&
                 U32(b, at + 16) == 2 * kRate && U16(b, at + 20) == 2 && U16(b, at + 22) == 16;
    if (memcmp(b.data() + at, "data", 4) == 0 && formatOk) {
      for (size_t i = 0; i + 1 < size; i += 2)
        pcm.samples.push_back(static_cast<int16_t>(U16(b, at + 8 + i)) / 32768.0);
      pcm.valid = true;
    }
    at += 8 + size + (size & 1);
  }
  return pcm;
}

// The strongest frequency between 100 Hz and 4 kHz (quarter-semitone grid) in a stretch of the
// sound: the power of a Hann-windowed single-bin DFT at each candidate, summed over frames of
// about 90 ms, so a note with vibrato still counts as one pitch.
double DominantHz(const Pcm& pcm, double fromFraction, double toFraction) {
  constexpr size_t kFrame = 2048, kHop = 1024;
  const size_t from = static_cast<size_t>(fromFraction * pcm.samples.size());
  const size_t to = static_cast<size_t>(toFraction * pcm.samples.size());
  std::vector<std::vector<double>> frames;
  for (size_t start = from; start < to; start += kHop) {
    const size_t n = std::min(kFrame, to - start);
    std::vector<double>& frame = frames.emplace_back(n);
    for (size_t i = 0; i < n; ++i)
      frame[i] = pcm.samples[start + i] * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n));
    if (start + n >= to) break;
  }
  double best = 0, bestPower = -1;
  for (double note = 43; note <= 107; note += 0.25) {
    const double hz = 440 * std::pow(2.0, (note - 69) / 12);
    const double w = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
    double power = 0;
    for (const std::vector<double>& frame : frames) {
      double s1 = 0, s2 = 0;
      for (double x : frame) {
        const double s0 = x + w * s1 - s2;
        s2 = s1;
        s1 = s0;
      }
      power += s1 * s1 + s2 * s2 - w * s1 * s2;
    }
    if (power > bestPower) bestPower = power, best = hz;
  }
  return best;
}

class SoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ScratchDir dir;
    WriteSounds(dir.path() / "data");
    for (int k = 0; k < kSounds; ++k) {
      bytes_[k] = ReadFileBytes(dir.DataFile(DataFileName('w', k)));
      sounds_[k] = ReadWav(bytes_[k]);
    }
  }
  static inline Pcm sounds_[kSounds];
  static inline std::vector<uint8_t> bytes_[kSounds];
};

TEST_F(SoundsTest, EveryFileIsAShortCleanWavBelowFullScale) {
  for (int k = 0; k < kSounds; ++k) {
    SCOPED_TRACE("sound " + std::to_string(k));
    const Pcm& s = sounds_[k];
    ASSERT_TRUE(s.valid);
    EXPECT_GE(s.Seconds(), 0.03);
    EXPECT_LE(s.Seconds(), 3.0);

    double peak = 0, sum = 0;
    for (double x : s.samples) peak = std::fmax(peak, std::fabs(x)), sum += x;
    EXPECT_LE(peak, 0.9);  // never clips, even after the mixer's conversion
    EXPECT_GE(peak, 0.5);  // and is not near-silent
    EXPECT_LT(std::fabs(sum / s.samples.size()), 0.005) << "DC offset";

    // Starts and ends at rest and swells in and out over a few milliseconds: a sound that
    // starts or stops at full level is heard as a click.
    EXPECT_LT(std::fabs(s.samples.front()), 0.01);
    EXPECT_LT(std::fabs(s.samples.back()), 0.01);
    double head = 0, tail = 0;
    for (size_t i = 0; i < static_cast<size_t>(0.0005 * kRate); ++i)
      head = std::fmax(head, std::fabs(s.samples[i]));
    for (size_t i = 0; i < static_cast<size_t>(0.002 * kRate); ++i)
      tail = std::fmax(tail, std::fabs(s.samples[s.samples.size() - 1 - i]));
    EXPECT_LT(head, 0.2);
    EXPECT_LT(tail, 0.2);
  }
}

TEST_F(SoundsTest, ChainJinglesGrowLongerAndHigher) {
  double previousHz = 0, previousSeconds = 0;
  for (int k = 4; k <= 10; ++k) {
    SCOPED_TRACE("sound " + std::to_string(k));
    const double hz = DominantHz(sounds_[k], 0.5, 1.0);  // the held closing note
    EXPECT_GT(hz, previousHz * 1.1);                     // more than a semitone higher
    EXPECT_GT(hz, DominantHz(sounds_[k], 0.0, 0.12));    // each jingle climbs
    EXPECT_GT(sounds_[k].Seconds(), previousSeconds);
    previousHz = hz;
    previousSeconds = sounds_[k].Seconds();
  }
}

TEST_F(SoundsTest, LengthsAndPitchCoursesFitTheirMoments) {
  for (int k : {1, 13, 14}) EXPECT_LE(sounds_[k].Seconds(), 0.2) << "sound " << k;  // per key press
  for (int k : {2, 3, 18}) EXPECT_LE(sounds_[k].Seconds(), 0.5) << "sound " << k;   // frequent
  for (int k = 4; k <= 11; ++k) EXPECT_LE(sounds_[k].Seconds(), 1.8) << "sound " << k;
  // The strip whoosh ends as the strips meet (80 ticks of 14 ms) or shortly after.
  EXPECT_GE(sounds_[17].Seconds(), 1.0);
  EXPECT_LE(sounds_[17].Seconds(), 1.5);
  // Top-out falls.
  EXPECT_LT(DominantHz(sounds_[12], 0.6, 1.0), DominantHz(sounds_[12], 0.0, 0.15) / 1.12);
  // The landing is a low thud, the explosion and the click are not.
  EXPECT_LT(DominantHz(sounds_[2], 0.0, 1.0), 200);
  EXPECT_GT(DominantHz(sounds_[1], 0.0, 1.0), 600);
  // The title zoom rises into its chime.
  EXPECT_GT(DominantHz(sounds_[16], 0.35, 0.55), DominantHz(sounds_[16], 0.0, 0.2) * 1.5);
  // The option blip is told apart from the cursor blip by its pitch.
  EXPECT_GT(DominantHz(sounds_[14], 0.0, 1.0), DominantHz(sounds_[13], 0.0, 1.0) * 1.2);
}

TEST_F(SoundsTest, EveryRunWritesTheSameFiles) {
  ScratchDir dir;
  WriteSounds(dir.path() / "data");
  for (int k = 0; k < kSounds; ++k)
    EXPECT_EQ(ReadFileBytes(dir.DataFile(DataFileName('w', k))), bytes_[k]) << "sound " << k;
}

}  // namespace
