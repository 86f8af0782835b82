// The input step: each human player's action inputs from the current MatchInput (the keys, and
// the mouse or joypads where present) become its action flags, or the computer sets them; then
// the pair's gravity step.
#pragma once

void ReadPlayerInputs();
