// Conversions between the program's byte texts and the UTF-16 of the W functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pigmora::win32 {

inline std::wstring ToWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

inline std::string FromWide(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

inline std::wstring Utf8ToWide(std::string_view utf8) { return ToWide(utf8, CP_UTF8); }
inline std::wstring AnsiToWide(std::string_view ansi) { return ToWide(ansi, CP_ACP); }
inline std::string WideToAnsi(std::wstring_view wide) { return FromWide(wide, CP_ACP); }
inline std::string WideToUtf8(std::wstring_view wide) { return FromWide(wide, CP_UTF8); }

}  // namespace pigmora::win32
