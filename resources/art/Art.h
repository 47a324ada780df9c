// Draws the setup program's two pictures: the picture down the left side of the wizard pages and the
// program icon. They are generated rather than painted so that they can be rebuilt, reviewed and tested
// like any other source; drawart writes them to resources/ and ArtTest keeps the committed copies honest.
#pragma once

#include <cstdint>
#include <vector>

namespace art {

// The complete bytes of a 120 x 258, 16-colour (4 bits per pixel) .bmp file for the wizard pages.
std::vector<std::uint8_t> DrawWizardBitmap();

// The complete bytes of an .ico file holding a 32 x 32 and a 16 x 16 image, 16 colours each.
std::vector<std::uint8_t> DrawProgramIcon();

}  // namespace art
