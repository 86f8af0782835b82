// The bean sprites: glossy jelly blobs with eyes, joined into one blob with linked neighbours.
#pragma once
#include "canvas.h"
#include "game_data.h"  // kBeanSpritesPerColour (0..58), kBlackBeanSprites (0..9)
#include "player.h"     // the link bits: same colour to the left, right, above, below

constexpr int kBeanWidth = 33;
constexpr int kBeanHeight = 28;
constexpr int kBeanSpriteCount = kBeanSpritesPerColour;
constexpr int kBlackBeanSpriteCount = kBlackBeanSprites;

// What a sprite number shows: the joined sides and the animation pose within its shape.
enum class BeanMotion {
  kRest,     // the shape's resting frame
  kBlink,    // eyes half (level 1) or fully (level 2) closed
  kLook,     // eyes turned left (level -1) or right (level 1)
  kSquash,   // squashed down by level 1..4
  kHappy,    // jelly pulse: the free sides swell and the eyes squint, level 1..4
  kSurprise  // eyes wide open
};
struct BeanPose {
  int links = 0;
  BeanMotion motion = BeanMotion::kRest;
  int level = 0;
};

// The pose of sprite n (0..58), following the game's link-shape and frame tables.
BeanPose PoseOfSprite(int n);

// Draws sprite n of colour code 1..6 in the master palette (33 x 28, 0 = transparent).
IndexedImage DrawBeanSprite(int colour, int n);
