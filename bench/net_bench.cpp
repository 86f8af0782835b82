// Online play: what the lockstep and the packets cost per tick of a match, both sides together
// (records read and run, a frame decided and followed, an input packet each way encoded and
// decoded every 3 ticks). ENet's own share is measured in the running programs (plonkix-online
// prints it); see docs/performance.md.
#include <benchmark/benchmark.h>

#include "lockstep.h"
#include "net_packet.h"

namespace {

void Pass(Lockstep& from, Lockstep& to) {
  NetMessage m;
  uint8_t bytes[kMostPacketBytes];
  while (from.TakeOutgoing(m)) {
    const size_t size = EncodeNetMessage(m, bytes, sizeof bytes);
    NetMessage decoded;
    if (!DecodeNetMessage(bytes, size, decoded, nullptr) || !to.Receive(decoded, nullptr)) abort();
  }
}

void RunFrames(Lockstep& side, uint32_t& sum) {
  for (unsigned ticks; (ticks = side.NextFrame(false)) != 0;)
    for (unsigned i = 0; i < ticks; ++i) sum += side.Controls() + side.Actions(1) + side.Actions(2);
}

void LockstepPerTick(benchmark::State& state) {
  Lockstep host, join;
  uint32_t match = 1, tick = 0, sum = 0;
  host.Start(true, match, 3);
  join.Start(false, match, 3);
  for (auto _ : state) {
    host.Produce(static_cast<uint8_t>(tick * 5));
    join.Produce(static_cast<uint8_t>(tick * 3));
    if (++tick % 3 == 0) {
      Pass(host, join);
      Pass(join, host);
    }
    if (tick % 70 == 0) {
      host.AddHash(tick);
      join.AddHash(tick);
    }
    RunFrames(host, sum);
    RunFrames(join, sum);
    if (tick == 100000) {  // a new match now and then keeps the tick numbers small
      host.Start(true, ++match, 3);
      join.Start(false, match, 3);
      tick = 0;
    }
  }
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(LockstepPerTick);

}  // namespace
