#include "ui/win32/picture.h"

#include <wincodec.h>

#include <algorithm>
#include <utility>

#include "platform/bmp_scale.h"
#include "platform/win32/snapshot.h"

namespace pigmora::win32 {

namespace {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { return &p_; }

private:
    T* p_ = nullptr;
};

bool IsGif(const std::vector<std::uint8_t>& file) {
    return file.size() >= 6 && file[0] == 'G' && file[1] == 'I' && file[2] == 'F';
}

// Windows' own codecs decode the GIF; the result is kept as a 24-bit BMP like every picture.
// The converter goes through 32-bit BGRA, which every WIC implementation offers from an
// indexed image (Wine's has no direct path to 24 bits).
std::vector<std::uint8_t> GifToBmp(const std::vector<std::uint8_t>& gif) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))))
        return {};
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(gif.data()),
                                            static_cast<DWORD>(gif.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)))
        return {};
    std::vector<std::uint8_t> bmp = NewBmp24(static_cast<int>(width), static_cast<int>(height));
    if (bmp.empty() || width == 0 || height == 0) return bmp;
    const UINT sourceStride = width * 4;
    std::vector<BYTE> bgra(static_cast<std::size_t>(sourceStride) * height);
    if (FAILED(converter->CopyPixels(nullptr, sourceStride, static_cast<UINT>(bgra.size()),
                                     bgra.data())))
        return {};
    const std::size_t stride = BmpRowStride(static_cast<int>(width));
    for (UINT y = 0; y < height; ++y) {
        // BMP rows run bottom-up, the decoder's top-down.
        const BYTE* source = bgra.data() + static_cast<std::size_t>(y) * sourceStride;
        BYTE* target = bmp.data() + kBmpPixelOffset + (height - 1 - y) * stride;
        for (UINT x = 0; x < width; ++x) {
            target[3 * x] = source[4 * x];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
    return bmp;
}

}  // namespace

Picture::Picture(std::vector<std::uint8_t> file)
    : file_(IsGif(file) ? GifToBmp(file) : std::move(file)),
      view_(ReadBmp(file_)),
      content_(TakeSnapshotContent(file_)) {}

// Moving a vector keeps its buffer, so the view stays valid in its new owner.
Picture::Picture(Picture&& other) noexcept
    : file_(std::move(other.file_)),
      view_(std::exchange(other.view_, std::nullopt)),
      content_(std::exchange(other.content_, std::nullopt)),
      fitted_(std::move(other.fitted_)),
      fittedSize_(std::exchange(other.fittedSize_, SIZE{})) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        RecycleSnapshotBuffer(std::exchange(file_, std::move(other.file_)));
        view_ = std::exchange(other.view_, std::nullopt);
        content_ = std::exchange(other.content_, std::nullopt);
        fitted_ = std::move(other.fitted_);
        fittedSize_ = std::exchange(other.fittedSize_, SIZE{});
    }
    return *this;
}

Picture::~Picture() { RecycleSnapshotBuffer(std::move(file_)); }

const std::vector<std::uint32_t>& Picture::FittedTo(SIZE client) const {
    if (fittedSize_.cx != client.cx || fittedSize_.cy != client.cy) {
        fitted_ = ResampleByArea(*view_, client.cx, client.cy, content_);
        fittedSize_ = client;
    }
    return fitted_;
}

void Picture::Draw(HDC dc, SIZE client, int mode) const {
    if (!view_ || view_->width <= 0 || view_->height <= 0) return;
    const BmpView& v = *view_;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biCompression = BI_RGB;

    // Stretched to the client area: averaged on displays of more than 16 bits per pixel, where
    // halftone stretching is asked for, pixels repeated or dropped on the others.
    const bool rich = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) > 16;
    if (mode == 1 && rich) {
        if (const auto& fitted = FittedTo(client); !fitted.empty()) {
            info.bmiHeader.biWidth = client.cx;
            info.bmiHeader.biHeight = -client.cy;  // top-down
            info.bmiHeader.biBitCount = 32;
            StretchDIBits(dc, 0, 0, client.cx, client.cy, 0, 0, client.cx, client.cy, fitted.data(),
                          &info, DIB_RGB_COLORS, SRCCOPY);
            return;
        }
    }

    info.bmiHeader.biWidth = v.width;
    info.bmiHeader.biHeight = v.bottomUp ? v.height : -v.height;
    info.bmiHeader.biBitCount = static_cast<WORD>(v.bitsPerPixel);
    int x = 0, y = 0, w = v.width, h = v.height;
    if (mode == 1) {
        // Only a picture too large to average, or a poor display, comes here.
        w = client.cx;
        h = client.cy;
        SetStretchBltMode(dc, rich ? HALFTONE : COLORONCOLOR);
        SetBrushOrgEx(dc, 0, 0, nullptr);
    } else if (mode >= 2) {
        if (w > client.cx || h > client.cy) {
            const double scale =
                std::min(static_cast<double>(client.cx) / w, static_cast<double>(client.cy) / h);
            w = std::max(1, static_cast<int>(w * scale));
            h = std::max(1, static_cast<int>(h * scale));
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
        }
        x = (client.cx - w) / 2;
        y = (client.cy - h) / 2;
    }
    StretchDIBits(dc, x, y, w, h, 0, 0, v.width, v.height, v.pixels, &info, DIB_RGB_COLORS,
                  SRCCOPY);
}

}  // namespace pigmora::win32
