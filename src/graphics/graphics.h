#pragma once
// The whole graphics layer at once: the colour table, indexed pictures, chip names, the renderer and the BG
// bank. Each type has its own header; include the one you need, or this one for all.

#include "graphics/bgbank.h"
#include "graphics/chipnames.h"
#include "graphics/editorgraphics.h"
#include "graphics/fcpalette.h"
#include "graphics/indexedbitmap.h"
