// Everything the platform layer offers, in one include.
#pragma once
#include "backend.h"
#include "display.h"
#include "draw.h"
#include "fatal.h"
#include "keyboard.h"
#include "keysyms.h"
#include "random.h"
#include "sound.h"
#include "text.h"
#include "ticks.h"
