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
constexpr double kVibratoRampSeconds = 0.15;  // vibrato deepens over this after its delay
constexpr double kFadeInSeconds = 0.003;
constexpr double kFadeOutSeconds = 0.015;
constexpr double kDcCutoffHz = 20.0;

enum class Wave { kSine, kTriangle, kSquare, kSaw, kBell };

// One voice: an oscillator under an envelope. The envelope rises over attack, decays
// exponentially with the time constant decay (0 = holds), and after length falls to silence
// over release. The pitch glides exponentially from freq to freqEnd over glide seconds
// (0 = over the length) and wobbles by vibrato semitones once vibratoDelay has passed.
struct Note {
  Wave wave = Wave::kSine;
  double start = 0;
  double length = 0.1;
  double freq = 440;
  double amp = 1;
  double freqEnd = 0;  // 0 = no glide
  double glide = 0;
  double attack = 0.005;
  double decay = 0;
  double release = 0.05;
  double vibrato = 0;  // semitones
  double vibratoRate = 5.5;
  double vibratoDelay = 0;
  int harmonics = 12;  // for the triangle, square and saw

  Note& Shape(double attackS, double decayS, double releaseS) {
    attack = attackS, decay = decayS, release = releaseS;
    return *this;
  }
  Note& GlideTo(double hz, double seconds = 0) {
    freqEnd = hz, glide = seconds;
    return *this;
  }
  Note& Vibrato(double semitones, double delay, double rate = 5.5) {
    vibrato = semitones, vibratoDelay = delay, vibratoRate = rate;
    return *this;
  }
  Note& Partials(int count) {
    harmonics = count;
    return *this;
  }
};

Note Tone(Wave wave, double start, double length, double freq, double amp) {
  Note n;
  n.wave = wave, n.start = start, n.length = length, n.freq = freq, n.amp = amp;
  return n;
}

// Filtered noise: a band-pass (or low-pass) whose centre glides from centreHz to centreEndHz
// over the burst, under the same kind of envelope as a note.
struct Noise {
  double start = 0;
  double length = 0.1;
  double centreHz = 1000;
  double q = 1;
  double amp = 1;
  double centreEndHz = 0;  // 0 = fixed
  bool lowPass = false;
  double attack = 0.002;
  double decay = 0;
  double release = 0.05;
  uint32_t seed = 1;

  Noise& Shape(double attackS, double decayS, double releaseS) {
    attack = attackS, decay = decayS, release = releaseS;
    return *this;
  }
  Noise& SweepTo(double hz) {
    centreEndHz = hz;
    return *this;
  }
  Noise& LowPass() {
    lowPass = true;
    return *this;
  }
  Noise& Seed(uint32_t value) {
    seed = value;
    return *this;
  }
};

Noise Hiss(double start, double length, double centreHz, double q, double amp) {
  Noise n;
  n.start = start, n.length = length, n.centreHz = centreHz, n.q = q, n.amp = amp;
  return n;
}

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
      const double depth = n.vibrato * std::fmin(1.0, (t - n.vibratoDelay) / kVibratoRampSeconds);
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
        std::fmin(n.centreHz * std::pow(ratio, t / (n.length + n.release)), kBandLimit);
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
    AddNote(b, Tone(Wave::kSquare, at, 0.1, Midi(67), 0.5).Shape(0.005, 0.12, 0.04).Partials(9));
  AddChord(b,
           Tone(Wave::kSquare, 0.6, 0.45, 0, 0.28)
               .Shape(0.01, 0.5, 0.25)
               .Vibrato(0.12, 0.15)
               .Partials(9),
           {72, 76, 79, 84});
  AddNote(b, Tone(Wave::kTriangle, 0.6, 0.5, Midi(48), 0.4).Shape(0.005, 0.4, 0.2));
  double at = 0.66;
  for (double note : {88.0, 91.0, 96.0}) {
    AddNote(b, Tone(Wave::kBell, at, 0.35, Midi(note), 0.22).Shape(0.002, 0.25, 0.1));
    at += 0.06;
  }
  AddNoise(b, Hiss(0.6, 0.05, 6000, 0.8, 0.25).Shape(0.002, 0.06, 0.1).Seed(1));
  return b;
}

// Turning a pair: a soft woodblock tick.
Buffer TurnClick() {
  Buffer b;
  AddNote(b, Tone(Wave::kSine, 0, 0.03, 1250, 0.7).GlideTo(1050).Shape(0.001, 0.012, 0.02));
  AddNote(b, Tone(Wave::kSine, 0, 0.02, 3100, 0.2).Shape(0.001, 0.006, 0.015));
  AddNoise(b, Hiss(0, 0.004, 3500, 1.5, 0.3).Shape(0.0005, 0, 0.006).Seed(2));
  return b;
}

// A pair landing: a soft, low, jelly thud.
Buffer LandingThud() {
  Buffer b;
  AddNote(b, Tone(Wave::kSine, 0, 0.14, 170, 1.0).GlideTo(60, 0.12).Shape(0.002, 0.07, 0.06));
  AddNote(b, Tone(Wave::kSine, 0, 0.05, 330, 0.25).GlideTo(190).Shape(0.002, 0.025, 0.03));
  AddNoise(b, Hiss(0, 0.04, 500, 1, 0.8).SweepTo(150).LowPass().Shape(0.001, 0.025, 0.04).Seed(3));
  return b;
}

// A group exploding: a bubbly pop (a quick upward chirp) and a wet splat.
Buffer ExplosionPop() {
  Buffer b;
  AddNote(b, Tone(Wave::kSine, 0, 0.05, 380, 0.8).GlideTo(1500).Shape(0.002, 0.04, 0.03));
  AddNote(b, Tone(Wave::kSine, 0.015, 0.08, 240, 0.5).GlideTo(110).Shape(0.003, 0.05, 0.05));
  AddNoise(b, Hiss(0.01, 0.16, 3200, 1.2, 0.9).SweepTo(500).Shape(0.003, 0.06, 0.1).Seed(4));
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
    AddNote(b, Tone(Wave::kSquare, i * spacing, spacing * 0.8, Midi(root + kArpeggio[i]), 0.45)
                   .Shape(0.003, 0.1, 0.05)
                   .Partials(7));

  const double top = root + kArpeggio[notes - 1];
  double finalAt = (notes - 1) * spacing;
  if (step >= 4) {  // a quick turn around the top note before it lands
    for (double grace : {top + 2, top - 1}) {
      AddNote(b, Tone(Wave::kSquare, finalAt, spacing * 0.4, Midi(grace), 0.35)
                     .Shape(0.003, 0, 0.03)
                     .Partials(7));
      finalAt += spacing * 0.5;
    }
  }
  const double hold = 0.28 + 0.055 * step;
  const double release = 0.15 + 0.01 * step;
  AddNote(b, Tone(Wave::kSquare, finalAt, hold, Midi(top), 0.55)
                 .Shape(0.006, 0.9, release)
                 .Vibrato(0.15, 0.12)
                 .Partials(7));
  AddNote(b, Tone(Wave::kBell, finalAt, hold * 0.6, Midi(top), 0.3).Shape(0.005, 0.3, 0.1));
  AddChord(b, Tone(Wave::kTriangle, finalAt, hold, 0, 0.14).Shape(0.02, 1.0, release),
           {root, root + 4, root + 7});
  if (step >= 2)
    AddNote(b, Tone(Wave::kTriangle, finalAt, hold, Midi(root - 12), 0.3).Shape(0.01, 0.8, 0.15));
  if (step >= 5)
    AddNote(b, Tone(Wave::kBell, finalAt + 0.05, hold * 0.7, Midi(top + 12), 0.18)
                   .Shape(0.005, 0.35, 0.1));
  if (step >= 6) AddNoise(b, Hiss(finalAt, 0.3, 9000, 0.7, 0.2).Shape(0.005, 0.3, 0.25).Seed(6));
  AddEcho(b, 0.1, 0.22, 2);
  return b;
}

// Counter-attack bonus: a brass fanfare, "ta-ta-ta-taaa", with snare taps.
Buffer BonusFanfare() {
  Buffer b;
  double at = 0;
  for (uint32_t i = 0; i < 3; ++i) {
    AddNote(b, Tone(Wave::kSaw, at, 0.08, Midi(67), 0.4).Shape(0.015, 0.3, 0.04).Partials(10));
    AddNoise(b, Hiss(at, 0.02, 2500, 0.9, 0.3).Shape(0.002, 0.03, 0.05).Seed(11 + i));
    at += 0.12;
  }
  AddChord(
      b, Tone(Wave::kSaw, at, 0.65, 0, 0.4).Shape(0.015, 1.5, 0.3).Vibrato(0.15, 0.2).Partials(10),
      {72, 76, 79});
  AddNote(b, Tone(Wave::kTriangle, at, 0.6, Midi(48), 0.4).Shape(0.01, 1.0, 0.3));
  AddNote(b, Tone(Wave::kBell, at + 0.02, 0.4, Midi(84), 0.2).Shape(0.005, 0.3, 0.1));
  AddNoise(b, Hiss(at, 0.25, 7000, 0.7, 0.2).Shape(0.002, 0.25, 0.2).Seed(15));
  return b;
}

// A field topped out: a sad "wah, wah, wah, waaah" that sinks and wobbles at the end.
Buffer TopOut() {
  Buffer b;
  double at = 0;
  for (double note : {67.0, 66.0, 65.0}) {
    AddNote(b, Tone(Wave::kSaw, at, 0.2, Midi(note), 0.5)
                   .GlideTo(Midi(note - 0.3))
                   .Shape(0.05, 0.35, 0.07)
                   .Partials(6));
    at += 0.3;
  }
  AddNote(b, Tone(Wave::kSaw, at, 0.75, Midi(64), 0.5)
                 .GlideTo(Midi(60), 0.9)
                 .Shape(0.05, 1.2, 0.2)
                 .Vibrato(0.45, 0.2, 5)
                 .Partials(6));
  AddNote(b, Tone(Wave::kTriangle, at, 0.75, Midi(52), 0.3)
                 .GlideTo(Midi(48), 0.9)
                 .Shape(0.05, 1.2, 0.2)
                 .Vibrato(0.45, 0.2, 5)
                 .Partials(6));
  return b;
}

// Menu cursor: a short square blip.
Buffer MenuBlip() {
  Buffer b;
  AddNote(b, Tone(Wave::kSquare, 0, 0.035, Midi(81), 0.6).Shape(0.002, 0.04, 0.02).Partials(5));
  return b;
}

// An option changed or a key taken: two quick rising notes, brighter than the cursor blip.
Buffer OptionBlip() {
  Buffer b;
  AddNote(b, Tone(Wave::kTriangle, 0, 0.035, Midi(84), 0.6).Shape(0.002, 0.05, 0.015));
  AddNote(b, Tone(Wave::kTriangle, 0.045, 0.05, Midi(91), 0.6).Shape(0.002, 0.05, 0.03));
  return b;
}

// The main menu is ready: a rising swell into a harp sweep and a bright held chord.
Buffer MenuReady() {
  Buffer b;
  double at = 0.22;
  for (double note : {60.0, 64.0, 67.0, 72.0, 76.0, 79.0, 84.0}) {
    AddNote(b,
            Tone(Wave::kTriangle, at, 0.5, Midi(note), 0.35).Shape(0.002, 0.35, 0.2).Partials(9));
    at += 0.035;
  }
  AddChord(b,
           Tone(Wave::kSaw, 0.25, 0.8, 0, 0.12).Shape(0.15, 1.5, 0.35).Vibrato(0.08, 0).Partials(6),
           {48, 55, 64, 67});
  for (double note : {84.0, 88.0}) {
    AddNote(b, Tone(Wave::kBell, at + 0.05, 0.5, Midi(note), 0.25).Shape(0.005, 0.4, 0.15));
    at += 0.08;
  }
  AddEcho(b, 0.13, 0.25, 2);
  // After the echo, so the swell comes once.
  AddNoise(b, Hiss(0, 0.25, 400, 1.5, 0.35).SweepTo(5000).Shape(0.22, 0, 0.05).Seed(7));
  return b;
}

// The title zooming in: a swelling upward sweep that lands on a bright chime.
Buffer TitleZoom() {
  Buffer b;
  AddNote(b, Tone(Wave::kTriangle, 0, 1.0, 110, 0.45)
                 .GlideTo(880)
                 .Shape(0.8, 0, 0.06)
                 .Vibrato(0.3, 0, 9)
                 .Partials(9));
  AddNote(b, Tone(Wave::kSine, 0, 1.0, 165, 0.2).GlideTo(1320).Shape(0.8, 0, 0.06));
  AddNoise(b, Hiss(0, 1.0, 300, 2, 0.4).SweepTo(6000).Shape(0.85, 0, 0.08).Seed(8));
  for (double note : {84.0, 88.0, 91.0})
    AddNote(b, Tone(Wave::kBell, 1.02, 0.5, Midi(note), 0.3).Shape(0.005, 0.35, 0.2));
  AddEcho(b, 0.12, 0.2, 2);
  return b;
}

// Strips flying in: four overlapping whooshes that meet in a soft thump.
Buffer StripsWhoosh() {
  Buffer b;
  constexpr double kMeet = 1.1;  // 80 ticks, when the strips come together
  for (uint32_t i = 0; i < 4; ++i) {
    const double at = 0.08 * i;
    AddNoise(b, Hiss(at, kMeet - at, 500.0 + 150 * i, 2.5, 0.3)
                    .SweepTo(3500.0 + 500 * i)
                    .Shape(kMeet - at - 0.05, 0, 0.08)
                    .Seed(20 + i));
  }
  AddNote(b, Tone(Wave::kSine, kMeet, 0.08, 140, 0.9).GlideTo(55).Shape(0.002, 0.06, 0.08));
  AddNoise(b, Hiss(kMeet, 0.04, 600, 1, 0.5).LowPass().Shape(0.002, 0.03, 0.05).Seed(30));
  return b;
}

// Confirm or leave: a friendly two-note chime.
Buffer ConfirmChime() {
  Buffer b;
  AddNote(b, Tone(Wave::kBell, 0, 0.06, Midi(76), 0.6).Shape(0.005, 0.12, 0.04));
  AddNote(b, Tone(Wave::kBell, 0.07, 0.2, Midi(83), 0.7).Shape(0.005, 0.15, 0.1));
  AddNote(b, Tone(Wave::kTriangle, 0.07, 0.12, Midi(71), 0.2).Shape(0.005, 0.1, 0.08));
  return b;
}

// Farewell: a warm, slowly swelling chord with a gently falling chime melody.
Buffer Farewell() {
  Buffer b;
  for (double detune : {-0.06, 0.06})  // two slightly detuned layers for a soft chorus
    AddChord(
        b, Tone(Wave::kSaw, 0, 1.9, 0, 0.13).Shape(0.3, 3.0, 0.7).Vibrato(0.05, 0, 4.5).Partials(5),
        {55 + detune, 60 + detune, 64 + detune, 67 + detune, 74 + detune});
  AddNote(b, Tone(Wave::kTriangle, 0, 1.9, Midi(36), 0.35).Shape(0.2, 3.0, 0.7));
  double at = 0.25;
  for (double note : {79.0, 76.0, 74.0, 72.0}) {
    AddNote(b, Tone(Wave::kBell, at, 0.5, Midi(note), 0.3).Shape(0.005, 0.4, 0.2));
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
