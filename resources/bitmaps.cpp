#include "bitmaps.h"

#include <QString>

QImage builtInBitmap(int resourceId)
{
    return QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(resourceId));
}
