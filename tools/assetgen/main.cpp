// pigmora_assetgen <outdir>: writes the embedded pictures, cursors and icon as files, for the
// resource script to take in. Everything is drawn from code, so the files are the same on
// every build.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/assetgen/assets.h"

namespace {

using pigmora::assetgen::File;

struct Output {
    const char* name;
    File (*make)();
};

constexpr Output kOutputs[]{
    {"HandCursor.cur", pigmora::assetgen::HandCursor},
    {"DropperCursor.cur", pigmora::assetgen::DropperCursor},
    {"MagnifierCursor.cur", pigmora::assetgen::MagnifierCursor},
    {"DropperBoxImage.bmp", pigmora::assetgen::DropperBoxImage},
    {"EmptyBoxImage.bmp", pigmora::assetgen::EmptyBoxImage},
    {"MagnifierBoxImage.bmp", pigmora::assetgen::MagnifierBoxImage},
    {"ColorBlockImage.gif", pigmora::assetgen::ColorBlockImage},
    {"HelpImage.bmp", pigmora::assetgen::HelpImage},
    {"pigmora.ico", pigmora::assetgen::ProgramIcon},
};

bool WriteFile(const std::filesystem::path& path, const File& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pigmora_assetgen <outdir>\n");
        return 2;
    }
    const std::filesystem::path outdir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outdir, error);
    if (error) {
        std::fprintf(stderr, "pigmora_assetgen: cannot create %s: %s\n", argv[1],
                     error.message().c_str());
        return 1;
    }
    for (const Output& output : kOutputs) {
        const File bytes = output.make();
        // An empty file means a picture could not be built as described; better no build
        // than a program with a missing picture.
        if (bytes.empty()) {
            std::fprintf(stderr, "pigmora_assetgen: could not build %s\n", output.name);
            return 1;
        }
        if (!WriteFile(outdir / output.name, bytes)) {
            std::fprintf(stderr, "pigmora_assetgen: cannot write %s\n", output.name);
            return 1;
        }
    }
    return 0;
}
