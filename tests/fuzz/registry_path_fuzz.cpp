// The registry path split reads DBCS bytes: a trail byte must never be taken for a backslash.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const pigmora::RegistryPath split = pigmora::SplitRegistryPath(path);
    if (split.key.empty() && split.valueName == path) return 0;  // no backslash found
    // Otherwise the path is exactly key, one backslash, value name.
    if (split.key.size() + 1 + split.valueName.size() != size) std::abort();
    if (path.substr(0, split.key.size()) != split.key) std::abort();
    if (path[split.key.size()] != '\\') std::abort();
    if (path.substr(split.key.size() + 1) != split.valueName) std::abort();
    return 0;
}
