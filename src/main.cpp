// The game's entry point: the real window, clock and mixer under the main flow.
#include <cstdio>
#include <cstring>

#include "main_flow.h"
#include "online.h"
#include "sdl_backend.h"

namespace {
constexpr int kBadUse = 2;

[[noreturn]] void Usage() {
  fprintf(stderr,
          "usage: plonkix [--replay FILE | --host [PORT] | --join HOST[:PORT]]\n"
          "  --host waits for one opponent on UDP port PORT (default %u),\n"
          "  --join connects to a host that waits\n",
          static_cast<unsigned>(kNetPort));
  exit(kBadUse);
}
}  // namespace

int main(int argc, char** argv) {
  SetBackend(&SdlBackend());
  if (argc >= 2 && strcmp(argv[1], "--replay") == 0) {
    if (argc != 3) Usage();
    RunReplayProgram(argv[2]);
  }
  if (argc >= 2 && strcmp(argv[1], "--host") == 0) {
    OnlineRequest request;
    request.role = NetRole::kHost;
    if (argc > 3 || (argc == 3 && !ParseNetPort(argv[2], request.port))) Usage();
    RunOnlineProgram(request);
  }
  if (argc >= 2 && strcmp(argv[1], "--join") == 0) {
    OnlineRequest request;
    request.role = NetRole::kJoin;
    if (argc != 3 || !ParseNetAddress(argv[2], request.host, request.port)) Usage();
    RunOnlineProgram(request);
  }
  if (argc != 1) Usage();
  RunProgram();
  return 0;
}
