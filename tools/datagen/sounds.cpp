// The 20 sound effects, synthesised: band-limited oscillators with pitch glides and vibrato,
// filtered noise, envelopes and a little echo, mixed, cleaned of DC, faded at both ends and
// scaled to a common peak below full scale.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <vector>

#include "codecs.h"
#include "fatal.h"
#include "parts.h"

namespace {
constexpr int kSoundCount = 20;
constexpr double kRate = kSampleRate;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kPeak = 0.85;                 // every sound is scaled to this peak
constexpr double kBandLimit = 0.42 * kRate;    // no partial above this (no aliasing)
constexpr double kBandRolloff = 0.08 * kRate;  // partials fade out over this width below it
constexpr int kMaxHarmonics = 24;
constexpr double kFadeInSeconds = 0.003;
constexpr double kFadeOutSeconds = 0.015;
constexpr double kDcCutoffHz = 20.0;

enum class Wave { kSine, kTriangle, kSquare, kSaw, kBell };

// One voice: an oscillator under an envelope. The envelope rises over attack, decays
// exponentially with the time constant decay (0 = holds), and after length falls to silence
// over release. The pitch glides exponentially from freq to freqEnd over glide seconds
// (0 = over the length) and wobbles by vibrato semitones once vibratoDelay has passed.
struct Note {
  double start = 0;
  double length = 0.1;
  double freq = 440;
  double freqEnd = 0;  // 0 = no glide
  double glide = 0;
  Wave wave = Wave::kSine;
  double amp = 1;
  double attack = 0.005;
  double decay = 0;
  double release = 0.05;
  double vibrato = 0;  // semitones
  double vibratoRate = 5.5;
  double vibratoDelay = 0;
  int harmonics = 12;  // for the triangle, square and saw
};

// Filtered noise: a band-pass (or low-pass) whose centre glides from centreHz to centreEndHz
// over the burst, under the same kind of envelope as a note.
struct Noise {
  double start = 0;
  double length = 0.1;
  double centreHz = 1000;
  double centreEndHz = 0;  // 0 = fixed
  double q = 1;
  bool lowPass = false;
  double amp = 1;
  double attack = 0.002;
  double decay = 0;
  double release = 0.05;
  uint32_t seed = 1;
};

// Bell partials (a small glockenspiel bar): ratio, level and how fast each dies away.
struct Partial {
  double ratio, level, damping;
};
constexpr Partial kBellPartials[] = {
    {1.0, 1.0, 0.0}, {2.76, 0.45, 7.0}, {5.40, 0.22, 14.0}, {8.93, 0.10, 24.0}};

using Buffer = std::vector<double>;

size_t ToSamples(double seconds) {
  return seconds <= 0 ? 0 : static_cast<size_t>(seconds * kRate + 0.5);
}

// The frequency of a MIDI note number (69 = A 440 Hz).
double Midi(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

double Envelope(double t, double attack, double decay, double length, double release) {
  if (t < 0) return 0;
  double level = 1;
  if (attack > 0 && t < attack) {
    const double x = t / attack;
    level = x * x * (3 - 2 * x);  // smooth start, no corner
  }
  if (decay > 0 && t > attack) level *= std::exp(-(t - attack) / decay);
  if (t > length) {
    const double r = release > 0 ? (t - length) / release : 1;
    if (r >= 1) return 0;
    level *= 0.5 * (1 + std::cos(std::numbers::pi * r));
  }
  return level;
}

// Sum of the waveform's partials up to the band limit, at phase (in cycles) and frequency f.
double Oscillator(Wave wave, double phase, double f, double t, int harmonics) {
  auto bandWeight = [](double partialHz) {
    if (partialHz >= kBandLimit) return 0.0;
    return std::fmin(1.0, (kBandLimit - partialHz) / kBandRolloff);
  };
  double sum = 0;
  switch (wave) {
    case Wave::kSine:
      return std::sin(kTwoPi * phase);
    case Wave::kBell:
      for (const Partial& p : kBellPartials)
        sum += p.level * std::exp(-p.damping * t) * bandWeight(p.ratio * f) *
               std::sin(kTwoPi * p.ratio * phase);
      return sum / 1.4;
    case Wave::kTriangle:
      for (int n = 1; n <= harmonics; n += 2) {
        const double sign = ((n - 1) / 2) % 2 ? -1.0 : 1.0;
        sum += sign * bandWeight(n * f) * std::sin(kTwoPi * n * phase) / (n * n);
      }
      return sum * 8.0 / (std::numbers::pi * std::numbers::pi);
    case Wave::kSquare:
      for (int n = 1; n <= harmonics; n += 2)
        sum += bandWeight(n * f) * std::sin(kTwoPi * n * phase) / n;
      return sum * 4.0 / std::numbers::pi / 1.18;  // the band-limited ripple peaks near 1.18
    case Wave::kSaw:
      for (int n = 1; n <= harmonics; ++n)
        sum += bandWeight(n * f) * std::sin(kTwoPi * n * phase) / n;
      return sum * 2.0 / std::numbers::pi / 1.18;
  }
  return 0;
}

void Reach(Buffer& b, size_t end) {
  if (b.size() < end) b.resize(end, 0.0);
}

void AddNote(Buffer& b, const Note& n) {
  const size_t first = ToSamples(n.start);
  const size_t count = ToSamples(n.length + n.release);
  Reach(b, first + count);
  const double glide = n.glide > 0 ? n.glide : n.length;
  const double ratio = n.freqEnd > 0 ? n.freqEnd / n.freq : 1.0;
  const int harmonics = n.harmonics < kMaxHarmonics ? n.harmonics : kMaxHarmonics;
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double t = i / kRate;
    double f = n.freq * std::pow(ratio, std::fmin(1.0, t / glide));
    if (n.vibrato > 0 && t > n.vibratoDelay) {
      const double depth = n.vibrato * std::fmin(1.0, (t - n.vibratoDelay) / 0.15);
      f *= std::pow(2.0, depth * std::sin(kTwoPi * n.vibratoRate * (t - n.vibratoDelay)) / 12.0);
    }
    const double level = n.amp * Envelope(t, n.attack, n.decay, n.length, n.release);
    b[first + i] += level * Oscillator(n.wave, phase, f, t, harmonics);
    phase += f / kRate;
    if (phase >= 1.0 && n.wave != Wave::kBell) phase -= 1.0;  // bell partials need the full phase
  }
}

// A small deterministic generator so the same build always writes the same files.
struct NoiseSource {
  uint32_t state;
  double Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 2147483648.0 - 1.0;
  }
};

void AddNoise(Buffer& b, const Noise& n) {
  const size_t first = ToSamples(n.start);
  const size_t count = ToSamples(n.length + n.release);
  Reach(b, first + count);
  const double ratio = n.centreEndHz > 0 ? n.centreEndHz / n.centreHz : 1.0;
  const double k = 1.0 / n.q;
  NoiseSource source{n.seed * 2654435761u + 1u};
  double ic1 = 0, ic2 = 0;  // state of a trapezoidal state-variable filter (stable at any centre)
  for (size_t i = 0; i < count; ++i) {
    const double t = i / kRate;
    const double centre =
        std::fmin(n.centreHz * std::pow(ratio, t / (n.length + n.release)), 0.45 * kRate);
    const double g = std::tan(std::numbers::pi * centre / kRate);
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = source.Next() - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    const double filtered = n.lowPass ? v2 : k * v1;
    b[first + i] += n.amp * Envelope(t, n.attack, n.decay, n.length, n.release) * filtered;
  }
}

// Repeats the whole sound so far after each delay, each repeat quieter by gain.
void AddEcho(Buffer& b, double delay, double gain, int repeats) {
  const size_t step = ToSamples(delay);
  const Buffer dry = b;
  Reach(b, dry.size() + step * repeats);
  double level = 1;
  for (int r = 1; r <= repeats; ++r) {
    level *= gain;
    for (size_t i = 0; i < dry.size(); ++i) b[i + step * r] += level * dry[i];
  }
}

// A chord of notes that share everything but the pitch.
void AddChord(Buffer& b, Note n, std::initializer_list<double> midiNotes) {
  for (double note : midiNotes) {
    n.freq = Midi(note);
    AddNote(b, n);
  }
}

// DC removed, ends faded, scaled to the common peak and rounded to 16 bits.
std::vector<int16_t> Finish(Buffer b) {
  const double a = 1.0 / (1.0 + kTwoPi * kDcCutoffHz / kRate);
  double previousIn = 0, previousOut = 0;
  for (double& x : b) {
    const double y = a * (previousOut + x - previousIn);
    previousIn = x;
    x = previousOut = y;
  }
  const size_t fadeIn = ToSamples(kFadeInSeconds), fadeOut = ToSamples(kFadeOutSeconds);
  for (size_t i = 0; i < fadeIn && i < b.size(); ++i) b[i] *= static_cast<double>(i) / fadeIn;
  for (size_t i = 0; i < fadeOut && i < b.size(); ++i)
    b[b.size() - 1 - i] *= static_cast<double>(i) / fadeOut;

  double peak = 0;
  for (double x : b) peak = std::fmax(peak, std::fabs(x));
  const double scale = peak > 0 ? kPeak * 32767.0 / peak : 0.0;
  std::vector<int16_t> samples(b.size());
  for (size_t i = 0; i < b.size(); ++i)
    samples[i] = static_cast<int16_t>(std::lround(b[i] * scale));
  return samples;
}

// ---- The sounds ----

// Match start: two "ready" beeps, then a bright "go" chord with a sparkle running up.
Buffer MatchStart() {
  Buffer b;
  for (double at : {0.0, 0.3})
    AddNote(b, {.start = at,
                .length = 0.1,
                .freq = Midi(67),
                .wave = Wave::kSquare,
                .amp = 0.5,
                .decay = 0.12,
                .release = 0.04,
                .harmonics = 9});
  const Note go{.start = 0.6,
                .length = 0.45,
                .wave = Wave::kSquare,
                .amp = 0.28,
                .attack = 0.01,
                .decay = 0.5,
                .release = 0.25,
                .vibrato = 0.12,
                .vibratoDelay = 0.15,
                .harmonics = 9};
  AddChord(b, go, {72, 76, 79, 84});
  AddNote(b, {.start = 0.6,
              .length = 0.5,
              .freq = Midi(48),
              .wave = Wave::kTriangle,
              .amp = 0.4,
              .decay = 0.4,
              .release = 0.2});
  double at = 0.66;
  for (double note : {88.0, 91.0, 96.0}) {
    AddNote(b, {.start = at,
                .length = 0.35,
                .freq = Midi(note),
                .wave = Wave::kBell,
                .amp = 0.22,
                .attack = 0.002,
                .decay = 0.25,
                .release = 0.1});
    at += 0.06;
  }
  AddNoise(b, {.start = 0.6,
               .length = 0.05,
               .centreHz = 6000,
               .q = 0.8,
               .amp = 0.25,
               .decay = 0.06,
               .release = 0.1,
               .seed = 1});
  return b;
}

// Turning a pair: a soft woodblock tick.
Buffer TurnClick() {
  Buffer b;
  AddNote(b, {.length = 0.03,
              .freq = 1250,
              .freqEnd = 1050,
              .amp = 0.7,
              .attack = 0.001,
              .decay = 0.012,
              .release = 0.02});
  AddNote(b, {.length = 0.02,
              .freq = 3100,
              .amp = 0.2,
              .attack = 0.001,
              .decay = 0.006,
              .release = 0.015});
  AddNoise(b, {.length = 0.004,
               .centreHz = 3500,
               .q = 1.5,
               .amp = 0.3,
               .attack = 0.0005,
               .release = 0.006,
               .seed = 2});
  return b;
}

// A pair landing: a soft, low, jelly thud.
Buffer LandingThud() {
  Buffer b;
  AddNote(b, {.length = 0.14,
              .freq = 170,
              .freqEnd = 60,
              .glide = 0.12,
              .amp = 1.0,
              .attack = 0.002,
              .decay = 0.07,
              .release = 0.06});
  AddNote(b, {.length = 0.05,
              .freq = 330,
              .freqEnd = 190,
              .amp = 0.25,
              .attack = 0.002,
              .decay = 0.025,
              .release = 0.03});
  AddNoise(b, {.length = 0.04,
               .centreHz = 500,
               .centreEndHz = 150,
               .lowPass = true,
               .amp = 0.8,
               .attack = 0.001,
               .decay = 0.025,
               .release = 0.04,
               .seed = 3});
  return b;
}

// A group exploding: a bubbly pop (a quick upward chirp) and a wet splat.
Buffer ExplosionPop() {
  Buffer b;
  AddNote(b, {.length = 0.05,
              .freq = 380,
              .freqEnd = 1500,
              .amp = 0.8,
              .attack = 0.002,
              .decay = 0.04,
              .release = 0.03});
  AddNote(b, {.start = 0.015,
              .length = 0.08,
              .freq = 240,
              .freqEnd = 110,
              .amp = 0.5,
              .attack = 0.003,
              .decay = 0.05,
              .release = 0.05});
  AddNoise(b, {.start = 0.01,
               .length = 0.16,
               .centreHz = 3200,
               .centreEndHz = 500,
               .q = 1.2,
               .amp = 0.9,
               .attack = 0.003,
               .decay = 0.06,
               .release = 0.1,
               .seed = 4});
  return b;
}

// Chain jingles for 2..8+ hits (step 0..6): a major arpeggio that climbs one note further and
// starts one semitone higher for every step, ending on a held note over a chord; the bigger
// chains add a bass, a trill, a bell octave and a shimmer.
Buffer ChainJingle(int step) {
  constexpr double kArpeggio[] = {0, 4, 7, 12, 16, 19, 24, 28, 31};
  Buffer b;
  const double root = 55 + step;
  const int notes = 3 + step;
  const double spacing = 0.09 - 0.005 * step;
  for (int i = 0; i + 1 < notes; ++i)
    AddNote(b, {.start = i * spacing,
                .length = spacing * 0.8,
                .freq = Midi(root + kArpeggio[i]),
                .wave = Wave::kSquare,
                .amp = 0.45,
                .attack = 0.003,
                .decay = 0.1,
                .release = 0.05,
                .harmonics = 7});

  const double top = root + kArpeggio[notes - 1];
  double finalAt = (notes - 1) * spacing;
  if (step >= 4) {  // a quick turn around the top note before it lands
    for (double grace : {top + 2, top - 1}) {
      AddNote(b, {.start = finalAt,
                  .length = spacing * 0.4,
                  .freq = Midi(grace),
                  .wave = Wave::kSquare,
                  .amp = 0.35,
                  .attack = 0.003,
                  .release = 0.03,
                  .harmonics = 7});
      finalAt += spacing * 0.5;
    }
  }
  const double hold = 0.28 + 0.055 * step;
  AddNote(b, {.start = finalAt,
              .length = hold,
              .freq = Midi(top),
              .wave = Wave::kSquare,
              .amp = 0.55,
              .attack = 0.006,
              .decay = 0.9,
              .release = 0.15 + 0.01 * step,
              .vibrato = 0.15,
              .vibratoDelay = 0.12,
              .harmonics = 7});
  AddNote(b, {.start = finalAt,
              .length = hold * 0.6,
              .freq = Midi(top),
              .wave = Wave::kBell,
              .amp = 0.3,
              .decay = 0.3,
              .release = 0.1});
  const Note pad{.start = finalAt,
                 .length = hold,
                 .wave = Wave::kTriangle,
                 .amp = 0.14,
                 .attack = 0.02,
                 .decay = 1.0,
                 .release = 0.15 + 0.01 * step};
  AddChord(b, pad, {root, root + 4, root + 7});
  if (step >= 2)
    AddNote(b, {.start = finalAt,
                .length = hold,
                .freq = Midi(root - 12),
                .wave = Wave::kTriangle,
                .amp = 0.3,
                .attack = 0.01,
                .decay = 0.8,
                .release = 0.15});
  if (step >= 5)
    AddNote(b, {.start = finalAt + 0.05,
                .length = hold * 0.7,
                .freq = Midi(top + 12),
                .wave = Wave::kBell,
                .amp = 0.18,
                .decay = 0.35,
                .release = 0.1});
  if (step >= 6)
    AddNoise(b, {.start = finalAt,
                 .length = 0.3,
                 .centreHz = 9000,
                 .q = 0.7,
                 .amp = 0.2,
                 .attack = 0.005,
                 .decay = 0.3,
                 .release = 0.25,
                 .seed = 6});
  AddEcho(b, 0.1, 0.22, 2);
  return b;
}

// Counter-attack bonus: a brass fanfare, "ta-ta-ta-taaa", with snare taps.
Buffer BonusFanfare() {
  Buffer b;
  const Note brass{.length = 0.08,
                   .wave = Wave::kSaw,
                   .amp = 0.4,
                   .attack = 0.015,
                   .decay = 0.3,
                   .release = 0.04,
                   .harmonics = 10};
  double at = 0;
  for (double note : {67.0, 67.0, 67.0}) {
    Note n = brass;
    n.start = at;
    n.freq = Midi(note);
    AddNote(b, n);
    AddNoise(b, {.start = at,
                 .length = 0.02,
                 .centreHz = 2500,
                 .q = 0.9,
                 .amp = 0.3,
                 .decay = 0.03,
                 .release = 0.05,
                 .seed = static_cast<uint32_t>(11 + at * 100)});
    at += 0.12;
  }
  Note held = brass;
  held.start = at;
  held.length = 0.65;
  held.decay = 1.5;
  held.release = 0.3;
  held.vibrato = 0.15;
  held.vibratoDelay = 0.2;
  AddChord(b, held, {72, 76, 79});
  AddNote(b, {.start = at,
              .length = 0.6,
              .freq = Midi(48),
              .wave = Wave::kTriangle,
              .amp = 0.4,
              .attack = 0.01,
              .decay = 1.0,
              .release = 0.3});
  AddNote(b, {.start = at + 0.02,
              .length = 0.4,
              .freq = Midi(84),
              .wave = Wave::kBell,
              .amp = 0.2,
              .decay = 0.3,
              .release = 0.1});
  AddNoise(b, {.start = at,
               .length = 0.25,
               .centreHz = 7000,
               .q = 0.7,
               .amp = 0.2,
               .decay = 0.25,
               .release = 0.2,
               .seed = 15});
  return b;
}

// A field topped out: a sad "wah, wah, wah, waaah" that sinks and wobbles at the end.
Buffer TopOut() {
  Buffer b;
  const Note wah{.length = 0.2,
                 .wave = Wave::kSaw,
                 .amp = 0.5,
                 .attack = 0.05,
                 .decay = 0.35,
                 .release = 0.07,
                 .harmonics = 6};
  double at = 0;
  for (double note : {67.0, 66.0, 65.0}) {
    Note n = wah;
    n.start = at;
    n.freq = Midi(note);
    n.freqEnd = Midi(note - 0.3);
    AddNote(b, n);
    at += 0.3;
  }
  Note last = wah;
  last.start = at;
  last.length = 0.75;
  last.freq = Midi(64);
  last.freqEnd = Midi(60);
  last.glide = 0.9;
  last.decay = 1.2;
  last.release = 0.2;
  last.vibrato = 0.45;
  last.vibratoRate = 5;
  last.vibratoDelay = 0.2;
  AddNote(b, last);
  last.freq = Midi(52);
  last.freqEnd = Midi(48);
  last.wave = Wave::kTriangle;
  last.amp = 0.3;
  AddNote(b, last);
  return b;
}

// Menu cursor: a short square blip.
Buffer MenuBlip() {
  Buffer b;
  AddNote(b, {.length = 0.035,
              .freq = Midi(81),
              .wave = Wave::kSquare,
              .amp = 0.6,
              .attack = 0.002,
              .decay = 0.04,
              .release = 0.02,
              .harmonics = 5});
  return b;
}

// An option changed or a key taken: two quick rising notes, brighter than the cursor blip.
Buffer OptionBlip() {
  Buffer b;
  AddNote(b, {.length = 0.035,
              .freq = Midi(84),
              .wave = Wave::kTriangle,
              .amp = 0.6,
              .attack = 0.002,
              .decay = 0.05,
              .release = 0.015});
  AddNote(b, {.start = 0.045,
              .length = 0.05,
              .freq = Midi(91),
              .wave = Wave::kTriangle,
              .amp = 0.6,
              .attack = 0.002,
              .decay = 0.05,
              .release = 0.03});
  return b;
}

// The main menu is ready: a rising swell into a harp sweep and a bright held chord.
Buffer MenuReady() {
  Buffer b;
  double at = 0.22;
  for (double note : {60.0, 64.0, 67.0, 72.0, 76.0, 79.0, 84.0}) {
    AddNote(b, {.start = at,
                .length = 0.5,
                .freq = Midi(note),
                .wave = Wave::kTriangle,
                .amp = 0.35,
                .attack = 0.002,
                .decay = 0.35,
                .release = 0.2,
                .harmonics = 9});
    at += 0.035;
  }
  const Note pad{.start = 0.25,
                 .length = 0.8,
                 .wave = Wave::kSaw,
                 .amp = 0.12,
                 .attack = 0.15,
                 .decay = 1.5,
                 .release = 0.35,
                 .vibrato = 0.08,
                 .harmonics = 6};
  AddChord(b, pad, {48, 55, 64, 67});
  for (double note : {84.0, 88.0}) {
    AddNote(b, {.start = at + 0.05,
                .length = 0.5,
                .freq = Midi(note),
                .wave = Wave::kBell,
                .amp = 0.25,
                .decay = 0.4,
                .release = 0.15});
    at += 0.08;
  }
  AddEcho(b, 0.13, 0.25, 2);
  AddNoise(b, {.length = 0.25,
               .centreHz = 400,
               .centreEndHz = 5000,
               .q = 1.5,
               .amp = 0.35,
               .attack = 0.22,
               .release = 0.05,
               .seed = 7});  // after the echo: one clean swell
  return b;
}

// The title zooming in: a swelling upward sweep that lands on a bright chime.
Buffer TitleZoom() {
  Buffer b;
  AddNote(b, {.length = 1.0,
              .freq = 110,
              .freqEnd = 880,
              .wave = Wave::kTriangle,
              .amp = 0.45,
              .attack = 0.8,
              .release = 0.06,
              .vibrato = 0.3,
              .vibratoRate = 9,
              .harmonics = 9});
  AddNote(b, {.length = 1.0,
              .freq = 165,
              .freqEnd = 1320,
              .wave = Wave::kSine,
              .amp = 0.2,
              .attack = 0.8,
              .release = 0.06});
  AddNoise(b, {.length = 1.0,
               .centreHz = 300,
               .centreEndHz = 6000,
               .q = 2,
               .amp = 0.4,
               .attack = 0.85,
               .release = 0.08,
               .seed = 8});
  for (double note : {84.0, 88.0, 91.0})
    AddNote(b, {.start = 1.02,
                .length = 0.5,
                .freq = Midi(note),
                .wave = Wave::kBell,
                .amp = 0.3,
                .decay = 0.35,
                .release = 0.2});
  AddEcho(b, 0.12, 0.2, 2);
  return b;
}

// Strips flying in: four overlapping whooshes that meet in a soft thump.
Buffer StripsWhoosh() {
  Buffer b;
  constexpr double kMeet = 1.1;
  for (int i = 0; i < 4; ++i) {
    const double at = 0.08 * i;
    AddNoise(b, {.start = at,
                 .length = kMeet - at,
                 .centreHz = 500.0 + 150 * i,
                 .centreEndHz = 3500.0 + 500 * i,
                 .q = 2.5,
                 .amp = 0.3,
                 .attack = kMeet - at - 0.05,
                 .release = 0.08,
                 .seed = 20u + i});
  }
  AddNote(b, {.start = kMeet,
              .length = 0.08,
              .freq = 140,
              .freqEnd = 55,
              .amp = 0.9,
              .attack = 0.002,
              .decay = 0.06,
              .release = 0.08});
  AddNoise(b, {.start = kMeet,
               .length = 0.04,
               .centreHz = 600,
               .lowPass = true,
               .amp = 0.5,
               .decay = 0.03,
               .release = 0.05,
               .seed = 30});
  return b;
}

// Confirm or leave: a friendly two-note chime.
Buffer ConfirmChime() {
  Buffer b;
  AddNote(b, {.length = 0.06,
              .freq = Midi(76),
              .wave = Wave::kBell,
              .amp = 0.6,
              .decay = 0.12,
              .release = 0.04});
  AddNote(b, {.start = 0.07,
              .length = 0.2,
              .freq = Midi(83),
              .wave = Wave::kBell,
              .amp = 0.7,
              .decay = 0.15,
              .release = 0.1});
  AddNote(b, {.start = 0.07,
              .length = 0.12,
              .freq = Midi(71),
              .wave = Wave::kTriangle,
              .amp = 0.2,
              .decay = 0.1,
              .release = 0.08});
  return b;
}

// Farewell: a warm, slowly swelling chord with a gently falling chime melody.
Buffer Farewell() {
  Buffer b;
  for (double detune : {-0.06, 0.06}) {  // two slightly detuned layers for a soft chorus
    const Note pad{.length = 1.9,
                   .wave = Wave::kSaw,
                   .amp = 0.13,
                   .attack = 0.3,
                   .decay = 3.0,
                   .release = 0.7,
                   .vibrato = 0.05,
                   .vibratoRate = 4.5,
                   .harmonics = 5};
    AddChord(b, pad, {55 + detune, 60 + detune, 64 + detune, 67 + detune, 74 + detune});
  }
  AddNote(b, {.length = 1.9,
              .freq = Midi(36),
              .wave = Wave::kTriangle,
              .amp = 0.35,
              .attack = 0.2,
              .decay = 3.0,
              .release = 0.7});
  double at = 0.25;
  for (double note : {79.0, 76.0, 74.0, 72.0}) {
    AddNote(b, {.start = at,
                .length = 0.5,
                .freq = Midi(note),
                .wave = Wave::kBell,
                .amp = 0.3,
                .decay = 0.4,
                .release = 0.2});
    at += 0.32;
  }
  AddEcho(b, 0.17, 0.25, 1);
  return b;
}

Buffer MakeSound(int number) {
  constexpr int kFirstChain = 4, kLastChain = 10;
  if (number >= kFirstChain && number <= kLastChain) return ChainJingle(number - kFirstChain);
  switch (number) {
    case 0:
      return MatchStart();
    case 1:
      return TurnClick();
    case 2:
      return LandingThud();
    case 3:
      return ExplosionPop();
    case 11:
      return BonusFanfare();
    case 12:
      return TopOut();
    case 13:
      return MenuBlip();
    case 14:
      return OptionBlip();
    case 15:
      return MenuReady();
    case 16:
      return TitleZoom();
    case 17:
      return StripsWhoosh();
    case 18:
      return ConfirmChime();
    case 19:
      return Farewell();
  }
  return {};
}
}  // namespace

void WriteSounds(const std::filesystem::path& dataDir) {
  for (int number = 0; number < kSoundCount; ++number) {
    const std::vector<int16_t> samples = Finish(MakeSound(number));
    const std::vector<uint8_t> wav = EncodeWav(samples.data(), samples.size());
    char name[16];
    snprintf(name, sizeof name, "plonkix.w%02d", number);
    const std::filesystem::path file = dataDir / name;
    FILE* f = fopen(file.c_str(), "wb");
    if (!f) FatalError("cannot create %s: %s", file.c_str(), strerror(errno));
    const bool written = fwrite(wav.data(), 1, wav.size(), f) == wav.size();
    if (fclose(f) != 0 || !written) FatalError("cannot write %s: input/output error", file.c_str());
  }
}
