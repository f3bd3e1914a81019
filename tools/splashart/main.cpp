// splashart SOURCE ARTDIR OUTFILE: draws the splash picture. The committed
// resources/bitmaps/splash.bmp is exactly its output.

#include "splash.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: splashart SOURCE ARTDIR OUTFILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
        const auto bytes = splashart::encodeBmp8(splashart::render(text.str(), argv[2]));
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::cerr << argv[3] << ": cannot write\n";
            return 1;
        }
    } catch (const std::runtime_error& e) {
        std::cerr << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
