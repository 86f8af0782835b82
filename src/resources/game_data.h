// Everything the start-up loader reads from data/: the sprite tables, fonts, the centre
// animation and the sounds. All of it stays loaded for the whole run.
#pragma once
#include <cstdint>

#include "animation.h"
#include "draw.h"

constexpr int kBeanColourCodes = 7;  // colour codes 0..6; 1 is the black bean, 2..6 the colours
constexpr int kBeanSpritesPerColour = 59;
constexpr int kBlackBeanSprites = 10;
constexpr int kChainPictures = 9;
constexpr int kAnimationFiles = 3;

extern Sprite BeanSprites[kBeanColourCodes][kBeanSpritesPerColour];
extern Sprite FrameTop, FrameTopMirror, FrameBottom, FrameBottomMirror, FrameSide, FrameSideMirror;
extern Sprite ChainPictures[kChainPictures];
extern Sprite StartPictures[2];
extern Sprite ResultPictures[2];
extern Sprite logoSprite, tileSprite, markerSprite, markerMirrorSprite;

// The fixed sizes of the stand-alone pictures.
constexpr int kLogoWidth = 306, kLogoHeight = 70;                   // p02
constexpr int kChainZeroWidth = 200, kChainZeroHeight = 50;         // p12
constexpr int kStartPictureWidth = 274, kStartPictureHeight = 110;  // p13, p14
constexpr int kFrameSideWidth = 14, kFrameSideHeight = 374;         // p15

constexpr int kRandomAnimation = -1;
// Which animation file (0..2) the game screen shows.
extern int LoadedAnimation;

// The loader's steps up to the sounds: screen buffers, every picture p00..p16 cut into its
// sprites and fonts, one of the three animations (picked at random, or the given one), and the
// 20 sounds when audio is available. Loading again replaces everything loaded before.
void LoadGameData(int animation = kRandomAnimation);
