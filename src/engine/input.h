// The input step: keys (and mouse or joypads, where present) become each player's action
// flags, or the computer sets them; then the pair's gravity step.
#pragma once

void ReadPlayerInputs();
