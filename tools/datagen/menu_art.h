// The menus' pictures: the logo, the tile laid over the menu, the cursor marker, the menu picture.
#pragma once
#include "canvas.h"

IndexedImage DrawLogo();         // p02, 306 x 70
IndexedImage DrawTile();         // 150 x 50, drawn 40 times over the whole menu
IndexedImage DrawMarker();       // 22 x 9, pointing right at the selected item
IndexedImage DrawMenuPicture();  // p22, 640 x 400
