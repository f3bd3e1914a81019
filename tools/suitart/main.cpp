// suitart OUTDIR SOURCE...: draws each source and writes <picture id>.bmp
// into OUTDIR. The committed drawings are exactly its output.

#include "art.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: suitart OUTDIR SOURCE...\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::cerr << argv[i] << ": cannot read\n";
            ++failures;
            continue;
        }
        std::ostringstream text;
        text << in.rdbuf();
        try {
            const suitart::Picture picture = suitart::render(text.str());
            const auto bytes = suitart::encodeBmp(picture);
            const auto target = outDir / (std::to_string(picture.id) + ".bmp");
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::cerr << target.string() << ": cannot write\n";
                ++failures;
            }
        } catch (const suitart::SourceError& e) {
            std::cerr << argv[i] << ": " << e.what() << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
