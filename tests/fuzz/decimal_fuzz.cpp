// ParseDecimalText takes whatever the user typed or pasted into the decimal box.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "colour/colour.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t n = pigmora::ParseDecimalText(text);
    // What the readout writes always reads back as itself: the save button's test relies on it.
    if (pigmora::ParseDecimalText(pigmora::DecimalText(n)) != n) std::abort();
    if (size >= 4) {
        std::int32_t value;
        std::memcpy(&value, data, 4);
        if (pigmora::ParseDecimalText(pigmora::DecimalText(value)) != value) std::abort();
        const pigmora::ColorTexts texts = pigmora::RenderColor(value);
        for (const std::string* t : {&texts.decimal, &texts.hexadecimal, &texts.rgb, &texts.hsl,
                                     &texts.html, &texts.vb, &texts.c, &texts.delphi})
            for (char c : *t)
                if (static_cast<unsigned char>(c) >= 0x80 || c == ' ') std::abort();
    }
    return 0;
}
