// The generated sound effects, judged by analysis: length, level, no DC, clean starts and ends,
// rising chain jingles, a whoosh as long as the strips take. (That they are 22 050 Hz mono 16-bit
// WAVs is soxi's part in the standard-tools check.)
#include <cmath>

#include "dataset.h"
#include "parts.h"
#include "test_support.h"

namespace {
constexpr int kSounds = 20;
constexpr double kRate = 22050;

// The samples (-1..1) behind a 44-byte header whose RIFF and data sizes fit the file.
std::vector<double> ReadWav(const std::vector<uint8_t>& b) {
  const auto u32 = [&b](size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24;
  };
  std::vector<double> samples;
  if (b.size() > 44 && memcmp(b.data() + 36, "data", 4) == 0 &&
      u32(4) == static_cast<int>(b.size() - 8) && u32(40) == static_cast<int>(b.size() - 44))
    for (size_t i = 44; i + 1 < b.size(); i += 2)
      samples.push_back(static_cast<int16_t>(b[i] | b[i + 1] << 8) / 32768.0);
  return samples;
}

// The pitch of a simple tone over a stretch of the sound, from its zero crossings.
double PitchHz(const std::vector<double>& s, double fromFraction, double toFraction) {
  const size_t from = fromFraction * s.size(), to = toFraction * s.size();
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
  return crossings / 2.0 / ((to - from) / kRate);
}

}  // namespace

TEST(Sounds, ShortCleanWavsBelowFullScaleWithPitchCoursesThatFitTheirMoments) {
  ScratchDir dir;
  WriteSounds(dir.path() / "data");
  std::vector<double> sound[kSounds];
  for (int k = 0; k < kSounds; ++k)
    sound[k] = ReadWav(ReadFileBytes(dir.DataFile(DataFileName('w', k))));
  const auto seconds = [&sound](int k) { return sound[k].size() / kRate; };
  for (int k = 0; k < kSounds; ++k) {
    SCOPED_TRACE("sound " + std::to_string(k));
    const std::vector<double>& s = sound[k];
    ASSERT_FALSE(s.empty()) << "header sizes do not fit the file";
    EXPECT_TRUE(seconds(k) >= 0.03 && seconds(k) <= 3.0) << seconds(k);
    double peak = 0, sum = 0, head = 0, tail = 0;
    for (double x : s) peak = std::fmax(peak, std::fabs(x)), sum += x;
    EXPECT_TRUE(peak >= 0.5 && peak <= 0.9) << peak;  // never clips, and is not near-silent
    EXPECT_LT(std::fabs(sum / s.size()), 0.005) << "DC offset";
    // Swells in and out over a few milliseconds: a sound starting or stopping loud clicks.
    for (size_t i = 0; i < static_cast<size_t>(0.002 * kRate); ++i) {
      head = std::fmax(head, i < 0.0005 * kRate ? std::fabs(s[i]) : 0);
      tail = std::fmax(tail, std::fabs(s[s.size() - 1 - i]));
    }
    EXPECT_TRUE(std::fabs(s.front()) < 0.01 && std::fabs(s.back()) < 0.01 && head < 0.2 &&
                tail < 0.2)
        << head << " " << tail;
  }
  // The chain jingles 4..10 grow longer, each climbs, and each ends more than a semitone higher.
  double previousHz = 0;
  for (int k = 4; k <= 10; ++k) {
    const double hz = PitchHz(sound[k], 0.5, 1.0);  // the held closing note
    EXPECT_GT(hz, previousHz * 1.1) << k;
    EXPECT_GT(hz, PitchHz(sound[k], 0.0, 0.12)) << k;
    EXPECT_GT(seconds(k), k > 4 ? seconds(k - 1) : 0) << k;
    previousHz = hz;
  }
  // The strip whoosh ends as the strips meet (80 ticks of 14 ms) or shortly after.
  EXPECT_TRUE(seconds(17) >= 1.0 && seconds(17) <= 1.5) << seconds(17);
}
