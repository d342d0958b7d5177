// The driver's view of the registry of the test prefix: the program and the driver share one
// wineserver, so what the program writes is seen here at once, through the API.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace e2e {

inline constexpr wchar_t kQuovKey[] = L"SOFTWARE\\Quov";
inline constexpr wchar_t kTallowinKey[] = L"SOFTWARE\\Quov\\Tallowin";

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

// Removes a key of HKEY_LOCAL_MACHINE with everything below it; a missing key is fine.
inline void DeleteMachineKeyTree(const std::wstring& path) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
}

inline bool MachineKeyExists(const std::wstring& path) {
    pigmora::win32::unique_hkey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

inline bool CreateMachineKey(const std::wstring& path) {
    pigmora::win32::unique_hkey key;
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key.put(), nullptr) == ERROR_SUCCESS;
}

inline bool WriteMachineDword(const std::wstring& path, const std::wstring& name, DWORD value) {
    pigmora::win32::unique_hkey key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

// The raw type and bytes of a value, or nothing when the key or the value is missing.
inline std::optional<RegistryValue> ReadMachineValue(const std::wstring& path,
                                                     const std::wstring& name) {
    pigmora::win32::unique_hkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value{type, std::vector<std::uint8_t>(size)};
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, value.data.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

// The names a key's enumeration gives, in the registry's order; empty for a missing key.
// `next(key, index, name, length)` is RegEnumValueW or RegEnumKeyExW, with the rest null.
template <typename Next>
std::vector<std::wstring> EnumeratedNames(const std::wstring& path, Next next) {
    std::vector<std::wstring> names;
    pigmora::win32::unique_hkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (next(key.get(), i, name, &length) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

// Names of the values a key holds.
inline std::vector<std::wstring> MachineValueNames(const std::wstring& path) {
    return EnumeratedNames(path, [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
        return RegEnumValueW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

// Names of the keys directly below a key.
inline std::vector<std::wstring> MachineSubkeyNames(const std::wstring& path) {
    return EnumeratedNames(path, [](HKEY key, DWORD i, wchar_t* name, DWORD* length) {
        return RegEnumKeyExW(key, i, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

// The value a saved-colour slot (1..5) is mirrored into, under kTallowinKey.
inline std::wstring SlotValueName(int slot) { return L"ColorSave" + std::to_wstring(slot); }

inline std::optional<RegistryValue> SlotValue(int slot) {
    return ReadMachineValue(kTallowinKey, SlotValueName(slot));
}

inline bool SlotStored(int slot) { return SlotValue(slot).has_value(); }

}  // namespace e2e
