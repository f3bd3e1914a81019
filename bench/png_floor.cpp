// The floor for a thumbnail: the least a process can do to turn a suit's
// drawing into a PNG. It loads the same built-in bitmap and writes it, with
// nothing painted, scaled or checked.
#include "bitmaps.h"

#include <QImage>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    return builtInBitmap(QByteArray(argv[1]).toInt()).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
