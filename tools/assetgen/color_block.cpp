// The colour block: 44 cells of 16 x 16 in 4 columns and 11 rows, one white pixel between
// cells, inside a grey one-pixel frame, 80 x 200 in all.

#include <array>

#include "tools/assetgen/assets.h"

namespace pigmora::assetgen {

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 200;
constexpr int kCell = 16;
constexpr int kPitch = 17;  // cell plus the white line after it
constexpr int kFirstCellX = 6;
constexpr int kFirstCellY = 7;

constexpr std::array<std::array<Rgb8, 4>, 11> kCells{{
    {{{153, 0, 255}, {153, 0, 0}, {0, 0, 255}, {0, 0, 0}}},
    {{{153, 102, 255}, {153, 102, 0}, {0, 102, 255}, {0, 102, 0}}},
    {{{153, 204, 255}, {153, 204, 0}, {0, 153, 255}, {0, 153, 0}}},
    {{{153, 255, 255}, {153, 255, 0}, {0, 255, 255}, {0, 255, 0}}},
    {{{204, 0, 255}, {204, 0, 0}, {51, 0, 255}, {51, 0, 0}}},
    {{{204, 102, 255}, {204, 51, 0}, {51, 102, 255}, {51, 102, 0}}},
    {{{204, 204, 255}, {204, 204, 0}, {51, 204, 255}, {51, 204, 0}}},
    {{{204, 255, 255}, {204, 255, 0}, {51, 255, 255}, {51, 255, 0}}},
    {{{255, 0, 255}, {255, 0, 0}, {102, 0, 255}, {102, 0, 0}}},
    {{{255, 102, 255}, {255, 153, 0}, {102, 102, 255}, {102, 204, 0}}},
    {{{255, 204, 255}, {255, 255, 0}, {102, 255, 255}, {102, 255, 0}}},
}};

}  // namespace

File ColorBlockImage() {
    std::vector<Rgb8> pixels(kWidth * kHeight, Rgb8{255, 255, 255});
    const auto at = [&](int x, int y) -> Rgb8& { return pixels[y * kWidth + x]; };

    for (int x = 0; x < kWidth; ++x) at(x, 0) = at(x, kHeight - 1) = Rgb8{204, 204, 204};
    for (int y = 0; y < kHeight; ++y) at(0, y) = at(kWidth - 1, y) = Rgb8{204, 204, 204};

    for (int row = 0; row < static_cast<int>(kCells.size()); ++row) {
        for (int column = 0; column < 4; ++column) {
            for (int dy = 0; dy < kCell; ++dy) {
                for (int dx = 0; dx < kCell; ++dx) {
                    at(kFirstCellX + kPitch * column + dx, kFirstCellY + kPitch * row + dy) =
                        kCells[row][column];
                }
            }
        }
    }
    const std::optional<IndexedImage> image = IndexColours(kWidth, kHeight, pixels);
    return image ? WriteGif(*image) : File{};
}

}  // namespace pigmora::assetgen
