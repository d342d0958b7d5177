#include "ui/win32/resources.h"

#include <cstring>
#include <vector>

#include "assets/resource_ids.h"

namespace pigmora::win32 {

std::span<const std::uint8_t> EmbeddedFile(int resourceId, HMODULE module) {
    if (!module) module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);  // module memory: nothing to free
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, info)};
}

std::span<const std::uint8_t> EmbeddedImage(Asset image) {
    switch (image) {
        case Asset::DropperBoxImage: return EmbeddedFile(IDR_DROPPER_BOX_IMAGE);
        case Asset::EmptyBoxImage: return EmbeddedFile(IDR_EMPTY_BOX_IMAGE);
        case Asset::MagnifierBoxImage: return EmbeddedFile(IDR_MAGNIFIER_BOX_IMAGE);
        case Asset::ColorBlockImage: return EmbeddedFile(IDR_COLOR_BLOCK_IMAGE);
        case Asset::HelpImage: return EmbeddedFile(IDR_HELP_IMAGE);
    }
    return {};
}

namespace {

std::uint16_t Word(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Dword(std::span<const std::uint8_t> b, std::size_t at) {
    return Word(b, at) | static_cast<std::uint32_t>(Word(b, at + 2)) << 16;
}

}  // namespace

unique_hcursor CursorFromFile(std::span<const std::uint8_t> file) {
    // ICONDIR (6 bytes), then the first 16-byte entry: width, height, colours, reserved,
    // hotspot x, hotspot y, image size, image offset.
    if (file.size() < 22 || Word(file, 0) != 0 || Word(file, 2) != 2 || Word(file, 4) == 0)
        return {};
    const int width = file[6] ? file[6] : 256;
    const int height = file[7] ? file[7] : 256;
    const std::uint16_t hotX = Word(file, 10), hotY = Word(file, 12);
    const std::uint32_t size = Dword(file, 14), offset = Dword(file, 18);
    if (offset > file.size() || size > file.size() - offset) return {};
    // A cursor resource is the image with its hotspot in front.
    std::vector<std::uint8_t> resource(4 + size);
    resource[0] = static_cast<std::uint8_t>(hotX);
    resource[1] = static_cast<std::uint8_t>(hotX >> 8);
    resource[2] = static_cast<std::uint8_t>(hotY);
    resource[3] = static_cast<std::uint8_t>(hotY >> 8);
    std::memcpy(resource.data() + 4, file.data() + offset, size);
    return unique_hcursor(CreateIconFromResourceEx(resource.data(),
                                                   static_cast<DWORD>(resource.size()), FALSE,
                                                   0x00030000, width, height, LR_DEFAULTCOLOR));
}

Cursors::Cursors()
    : hand_(CursorFromFile(EmbeddedFile(IDR_HAND_CURSOR))),
      dropper_(CursorFromFile(EmbeddedFile(IDR_DROPPER_CURSOR))),
      magnifier_(CursorFromFile(EmbeddedFile(IDR_MAGNIFIER_CURSOR))) {}

HCURSOR Cursors::Get(Pointer pointer) const {
    switch (pointer) {
        case Pointer::Default: return nullptr;
        case Pointer::SystemHand: return LoadCursorW(nullptr, IDC_HAND);
        case Pointer::SystemCross: return LoadCursorW(nullptr, IDC_CROSS);
        case Pointer::HandCursor: return hand_.get();
        case Pointer::DropperCursor: return dropper_.get();
        case Pointer::MagnifierCursor: return magnifier_.get();
    }
    return nullptr;
}

}  // namespace pigmora::win32
