#include "platform/registry_path.h"

#include <cstddef>

namespace pigmora {

RegistryPath SplitRegistryPath(std::string_view ansiPath) {
    std::size_t separator = std::string_view::npos;
    for (std::size_t i = 0; i < ansiPath.size(); ++i) {
        const auto byte = static_cast<unsigned char>(ansiPath[i]);
        if (byte >= 0x80) {
            if (i + 1 >= ansiPath.size()) break;  // a lead byte with nothing after it
            ++i;                                  // its partner is never a separator
        } else if (byte == '\\') {
            separator = i;
        }
    }
    if (separator == std::string_view::npos) return RegistryPath{{}, std::string(ansiPath)};
    return RegistryPath{std::string(ansiPath.substr(0, separator)),
                        std::string(ansiPath.substr(separator + 1))};
}

}  // namespace pigmora
