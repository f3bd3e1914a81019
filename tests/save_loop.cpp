// Saves two Brisa designs in turn into the file named on the command line,
// forever, saying "saved" after the first one; the kill test stops it.
#include "catalogue/models.h"
#include "files/design_file.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    state::ModelDesign designs[2];
    for (int k = 0; k < 20; ++k) {
        const auto s = static_cast<std::size_t>(k);
        designs[0].areaColour[s] = static_cast<std::int16_t>(k % 7);
        designs[0].areaFabric[s] = 1;
        designs[1].areaColour[s] = static_cast<std::int16_t>((k + 3) % 7);
        designs[1].areaFabric[s] = 2;
    }
    for (unsigned long n = 0;; ++n) {
        if (!files::writeDesignRecord(cat::kBrisa, designs[n % 2], path))
            return 1;
        if (n == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
}
