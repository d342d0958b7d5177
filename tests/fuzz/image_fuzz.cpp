// Picture boxes are handed BMP files (snapshots, embedded pictures); the readers must stay
// inside any buffer, whatever its headers claim. The writer's files always read back.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "assets/formats.h"
#include "platform/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (auto view = pigmora::ReadBmp(file)) {
        // Touch every byte of every row the view promises.
        unsigned sum = 0;
        const std::size_t rowBytes =
            static_cast<std::size_t>(view->width) * static_cast<std::size_t>(view->bitsPerPixel / 8);
        for (int y = 0; y < view->height; ++y) {
            const std::uint8_t* row = view->Row(y);
            for (std::size_t x = 0; x < rowBytes; ++x) sum += row[x];
        }
        if (sum == 0xFFFFFFFFu) return 1;
    }
    (void)pigmora::ReadGif(file);
    (void)pigmora::ReadIconFile(file);

    if (size >= 4) {
        const int width = (data[0] | data[1] << 8) % 515 - 2;
        const int height = (data[2] | data[3] << 8) % 515 - 2;
        const auto bmp = pigmora::NewBmp24(width, height);
        if ((width < 0 || height < 0) != bmp.empty()) std::abort();
        if (!bmp.empty()) {
            const auto back = pigmora::ReadBmp(bmp);
            if (!back || back->width != width || back->height != height || !back->bottomUp ||
                back->bitsPerPixel != 24 || back->stride != pigmora::BmpRowStride(width))
                std::abort();
        }
    }
    return 0;
}
