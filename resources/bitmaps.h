#pragma once

#include <QImage>

// The built-in bitmaps by resource id: 16 x (model + 1) for the eight drawings,
// 144 for the one-pixel clearing picture. A null image for an unknown id.
QImage builtInBitmap(int resourceId);
