// The packet decoder on any bytes: never a crash or a read outside the packet. A packet it
// accepts encodes back into one that decodes the same, and an input packet is also handed to a
// host's and a joiner's lockstep, which must refuse or take it without harm.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lockstep.h"
#include "net_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NetMessage m;
  const char* error = nullptr;
  if (!DecodeNetMessage(data, size, m, &error)) {
    if (!error) abort();
    return 0;
  }
  uint8_t bytes[kMostPacketBytes], again[kMostPacketBytes];
  const size_t length = EncodeNetMessage(m, bytes, sizeof bytes);
  NetMessage back;
  if (length == 0 || !DecodeNetMessage(bytes, length, back, nullptr)) abort();
  if (EncodeNetMessage(back, again, sizeof again) != length || memcmp(bytes, again, length))
    abort();
  if (m.type == NetType::kInput) {
    static Lockstep sides[2];
    for (int host = 0; host < 2; ++host) {
      Lockstep& side = sides[host];
      side.Start(host == 1, m.match, kLeastDelay);
      if (side.Receive(m, &error)) {
        while (side.NextFrame(false)) side.Controls();
        side.Actions(1);
        side.Actions(2);
      } else if (!error) {
        abort();
      }
    }
  }
  return 0;
}
