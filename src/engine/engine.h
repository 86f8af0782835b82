// The whole game engine in one include.
#pragma once
#include "black_beans.h"
#include "cpu.h"
#include "engine_sound.h"
#include "input.h"
#include "match_input.h"
#include "match_tick.h"
#include "pair.h"
#include "player.h"
#include "scoring.h"
#include "settle.h"
