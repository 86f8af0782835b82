// What the two whole-program drivers (plonkix-headless and plonkix-online) share: options with a
// number, the keys for a scancode, random numbers that follow the seed, and the run to its end.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <utility>

#include "fatal.h"
#include "headless.h"
#include "keyboard.h"

// "--NAME N" at argv[i] for one of the named numbers: sets it, steps past N and says so.
inline bool TakeNumber(int argc, char** argv, int& i,
                       std::initializer_list<std::pair<const char*, uint32_t*>> numbers) {
  for (const auto& [name, value] : numbers)
    if (i + 1 < argc && strcmp(argv[i], name) == 0) {
      *value = static_cast<uint32_t>(strtoul(argv[++i], nullptr, 10));
      return true;
    }
  return false;
}

// The key symbol that the scan map turns into this scancode, 0 if none does.
inline uint16_t SymbolFor(uint32_t scancode) {
  for (int sym = 1; sym < kScanMapSize; ++sym)
    if (ScanMap[sym] == scancode) return static_cast<uint16_t>(sym);
  return 0;
}

// A number below n from the random stream `state`.
inline uint32_t Roll(uint32_t& state, uint32_t n) {
  return ((state = state * 1664525u + 1013904223u) >> 8 & 0xFFFF) % n;
}

// Runs the program to its end: its exit status, 1 on a fatal error (printed as the game prints
// it), 3 when it passed the backend's time limit.
inline int RunToEnd(const std::function<void()>& program) {
  try {
    program();
  } catch (const ProgramExitException& e) {
    return e.status;
  } catch (const FatalErrorException& e) {
    fprintf(stderr, "plonkix: %s\n", e.what());
    return 1;
  } catch (const HeadlessTimeout&) {
    return 3;
  }
  return 4;  // the program never returns
}
