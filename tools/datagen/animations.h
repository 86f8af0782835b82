// The three centre-column animations f00..f02: ten looping frames of 78 x 48 each.
#pragma once
#include <vector>

#include "canvas.h"

constexpr int kAnimationCount = 3;
constexpr int kAnimationFrames = 10;
constexpr int kAnimationWidth = 78;
constexpr int kAnimationHeight = 48;

// Frames of animation 0 (a bouncing bean), 1 (a pair turning) or 2 (three beans hopping),
// in the master palette with 0 transparent.
std::vector<IndexedImage> DrawAnimation(int which);
