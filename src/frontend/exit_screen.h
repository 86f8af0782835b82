// The exit screen: the closing picture faded in and out, then audio closed.
#pragma once
#include <cstdint>

// With show nonzero: picture p17 fades in, waits for a key (after all keys were released) and
// fades out. In every case audio is closed last.
void ExitScreen(uint8_t show);
