// The game's entry point: the real window, clock and mixer under the main flow.
#include "main_flow.h"
#include "sdl_backend.h"

int main() {
  SetBackend(&SdlBackend());
  RunProgram();
  return 0;
}
