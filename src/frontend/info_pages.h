// The credits and help pages: 18 lines over the menu's background, left with any key.
#pragma once
#include <cstdint>

#include "frontend_common.h"

constexpr uint8_t kCreditsPage = 1;
constexpr uint8_t kHelpPage = 0;

extern const PageLine kCreditLines[kPageLines];
extern const PageLine kHelpLines[kPageLines];

// Shows the credits (selector nonzero) or the help page (selector 0) and fades the palette out.
void ShowInfoPage(uint8_t selector);
