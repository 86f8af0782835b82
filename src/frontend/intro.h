// The intro: opens the screen, then the zooming title, the strip picture and the closing picture.
#pragma once
#include <cstdint>

#include "draw.h"

constexpr int32_t kTitleWidth = 430, kTitleHeight = 152;      // p18
constexpr int32_t kClosingWidth = 212, kClosingHeight = 307;  // p21

// Runs the three phases once; ends with a black display. A screen that cannot be opened ends
// the program with a message.
void Intro();

// One frame of the title phase at clock g, drawn into a cleared frame buffer.
void DrawIntroTitle(int32_t g, const Sprite& title);
// One frame of the strip phase at clock m: the four strips of the picture in the frame buffer
// drawn into the back buffer. Returns the buffer to present (the frame buffer once they met).
const uint8_t* DrawIntroStrips(int32_t m);
