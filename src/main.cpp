// The game's entry point: the real window, clock and mixer under the main flow.
#include <cstdio>
#include <cstring>

#include "main_flow.h"
#include "sdl_backend.h"

int main(int argc, char** argv) {
  SetBackend(&SdlBackend());
  if (argc >= 2 && strcmp(argv[1], "--replay") == 0) {
    if (argc != 3) {
      fprintf(stderr, "usage: plonkix [--replay FILE]\n");
      return kBadReplayStatus;
    }
    RunReplayProgram(argv[2]);
  }
  RunProgram();
  return 0;
}
