// drawart: regenerates resources/wizard.bmp and resources/cvfir.ico. Run it after changing Art.cpp and
// commit both files; ArtTest fails until they match what the code draws.
#include <cstdio>
#include <fstream>
#include <vector>

#include "resources/art/Art.h"

namespace {

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "drawart: cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: drawart WIZARD.bmp ICON.ico\n");
        return 2;
    }
    const bool ok = WriteFile(argv[1], art::DrawWizardBitmap()) && WriteFile(argv[2], art::DrawProgramIcon());
    return ok ? 0 : 1;
}
