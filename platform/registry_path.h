// Splitting a full registry path, in ANSI bytes, into its key and value name.
#pragma once

#include <string>
#include <string_view>

namespace pigmora {

struct RegistryPath {
    std::string key;
    std::string valueName;
    friend bool operator==(const RegistryPath&, const RegistryPath&) = default;
};

// Splits at the last backslash. In a double-byte code page such as GBK the second byte of a
// character can be 0x5C, so bytes of 0x80 and above carry their partner byte with them and
// only a backslash that stands alone counts. Without a backslash the key is empty.
RegistryPath SplitRegistryPath(std::string_view ansiPath);

}  // namespace pigmora
