#pragma once

// The whole fixed catalogue: colours, fabrics and palettes, models and areas,
// seeds, fabric rules and texts. Plain data, no toolkit.
#include "catalogue/colour.h"
#include "catalogue/fabrics.h"
#include "catalogue/models.h"
#include "catalogue/palette_geometry.h"
#include "catalogue/rules.h"
#include "catalogue/seeds.h"
#include "catalogue/texts.h"
