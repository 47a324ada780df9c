// The committed resources/wizard.bmp and resources/cvfir.ico must be exactly what Art.cpp draws, and must
// carry headers the Windows resource compiler and the wizard pages accept.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/art/Art.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(CVFIR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

// Written out here, not taken from Art.cpp, so a slip in the generator's table cannot hide itself.
void ExpectStandardPalette(const Bytes& b, std::size_t at) {
    const std::uint32_t rgb[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                   0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 16; ++i) {
        const std::size_t e = at + 4 * static_cast<std::size_t>(i);
        EXPECT_EQ(b.at(e + 2) << 16 | b.at(e + 1) << 8 | b.at(e), rgb[i]) << "palette entry " << i;
        EXPECT_EQ(b.at(e + 3), 0) << "palette entry " << i;
    }
}

// Checks a BITMAPINFOHEADER of a 4-bit picture and returns the byte count of its pixel rows.
std::size_t ExpectInfoHeader(const Bytes& b, std::size_t at, int width, int height) {
    EXPECT_EQ(U32(b, at), 40u);
    EXPECT_EQ(U32(b, at + 4), static_cast<std::uint32_t>(width));
    EXPECT_EQ(U32(b, at + 8), static_cast<std::uint32_t>(height));
    EXPECT_EQ(U16(b, at + 12), 1u);
    EXPECT_EQ(U16(b, at + 14), 4u);
    EXPECT_EQ(U32(b, at + 16), 0u);  // BI_RGB
    EXPECT_TRUE(U32(b, at + 32) == 0 || U32(b, at + 32) == 16);
    ExpectStandardPalette(b, at + 40);
    return U32(b, at + 20);
}

TEST(ArtTest, CommittedFilesAreWhatTheGeneratorDraws) {
    EXPECT_EQ(art::DrawWizardBitmap(), art::DrawWizardBitmap());
    EXPECT_EQ(art::DrawProgramIcon(), art::DrawProgramIcon());
    EXPECT_TRUE(ReadSourceFile("resources/wizard.bmp") == art::DrawWizardBitmap())
        << "resources/wizard.bmp is stale: rebuild it with drawart";
    EXPECT_TRUE(ReadSourceFile("resources/cvfir.ico") == art::DrawProgramIcon())
        << "resources/cvfir.ico is stale: rebuild it with drawart";
}

TEST(ArtTest, WizardBitmapHeaders) {
    const Bytes b = art::DrawWizardBitmap();
    ASSERT_GE(b.size(), 14u + 40u + 64u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 10), 14u + 40u + 64u);
    EXPECT_EQ(U32(b, 46), 16u);  // biClrUsed
    // 120 pixels at 4 bits are 60 bytes a row, already a whole number of 32-bit words.
    EXPECT_EQ(ExpectInfoHeader(b, 14, 120, 258), 60u * 258u);
    EXPECT_EQ(U32(b, 10) + 60u * 258u, b.size());
    // The teal ground runs right into the corners.
    EXPECT_EQ(b[U32(b, 10)] >> 4, 6);
    EXPECT_EQ(b.back() & 0x0F, 6);
    // Rows run bottom-up: the blue of the globe and the screen belongs in the rows stored last.
    int blue_low = 0, blue_high = 0;
    for (std::size_t i = U32(b, 10); i < b.size(); ++i)
        for (const int pixel : {b[i] >> 4, b[i] & 0x0F})
            if (pixel == 12)
                ++(i < U32(b, 10) + 60u * 129u ? blue_low : blue_high);
    EXPECT_EQ(blue_low, 0);
    EXPECT_GT(blue_high, 500);
}

TEST(ArtTest, ProgramIconDirectoryAndImages) {
    const Bytes b = art::DrawProgramIcon();
    ASSERT_GE(b.size(), 6u + 2u * 16u);
    EXPECT_EQ(U16(b, 0), 0u);
    EXPECT_EQ(U16(b, 2), 1u);
    ASSERT_EQ(U16(b, 4), 2u);
    std::size_t next = 6 + 2 * 16;
    for (const int size : {32, 16}) {
        SCOPED_TRACE(size);
        const std::size_t entry = 6 + (size == 32 ? 0 : 16);
        EXPECT_EQ(b[entry], size);
        EXPECT_EQ(b[entry + 1], size);
        EXPECT_EQ(b[entry + 2], 16);
        EXPECT_EQ(U16(b, entry + 4), 1u);
        EXPECT_EQ(U16(b, entry + 6), 4u);
        const std::size_t bytes = U32(b, entry + 8), at = U32(b, entry + 12);
        EXPECT_EQ(at, next);
        next = at + bytes;
        ASSERT_LE(next, b.size());

        // Colour rows are padded to 4 bytes, as are mask rows (even the 16-pixel ones, 2 bytes of bits).
        const std::size_t colour = size * size / 2, mask = 4u * size;
        EXPECT_EQ(bytes, 40 + 64 + colour + mask);
        const std::size_t image_bytes = ExpectInfoHeader(b, at, size, 2 * size);
        EXPECT_TRUE(image_bytes == 0 || image_bytes == colour + mask);

        // Where the mask lets the desktop through, the colour bits must be black or they tint it.
        const std::size_t bits = at + 40 + 64, row = size / 2;
        int clear = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (b[bits + colour + 4u * y + x / 8] & (0x80 >> (x % 8))) {
                    ++clear;
                    EXPECT_EQ(b[bits + row * y + x / 2] >> (x % 2 ? 0 : 4) & 0x0F, 0) << x << "," << y;
                }
        EXPECT_GT(clear, 0);
        EXPECT_LT(clear, size * size / 2);
    }
    EXPECT_EQ(next, b.size());
}

}  // namespace
