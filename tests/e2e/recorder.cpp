#include "recorder.h"

#include <windows.h>
// (tlhelp32.h needs the types of windows.h first)
#include <tlhelp32.h>

#include <sstream>

#include "harness.h"
#include "platform/win32/handles.h"

namespace e2e {

namespace {

constexpr wchar_t kHandlerKey[] = L"https\\shell\\open\\command";
constexpr char kRecordFlag[] = "--record=";

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<std::wstring> ReadDefaultValue(HKEY root, const wchar_t* key) {
    DWORD bytes = 0;
    if (RegGetValueW(root, key, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key, nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

bool WriteDefaultValue(HKEY root, const wchar_t* key, const std::wstring& value) {
    pigmora::win32::unique_hkey opened;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return RegSetValueExW(
               opened.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Appends one line; recorders started close together may write at once, and an append of a
// single write lands whole.
int AppendLine(const std::string& file, const std::string& line) {
    pigmora::win32::unique_kernel_handle out = pigmora::win32::OwnFile(
        CreateFileW(Wide(file).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return 2;
    const std::string text = line + "\n";
    DWORD written = 0;
    return WriteFile(out.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                   written == text.size()
               ? 0
               : 3;
}

}  // namespace

std::optional<int> RecordIfAsked(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string first = argv[1];
    if (first.rfind(kRecordFlag, 0) != 0) return std::nullopt;
    std::string line;
    for (int i = 2; i < argc; ++i) line += (i > 2 ? " " : "") + std::string(argv[i]);
    return AppendLine(first.substr(sizeof kRecordFlag - 1), line);
}

AddressRecorder::AddressRecorder(std::wstring file) : file_(std::move(file)) {
    DeleteFileW(file_.c_str());
    previous_ = ReadDefaultValue(HKEY_CLASSES_ROOT, kHandlerKey);
    const std::wstring command =
        L"\"" + OwnPath() + L"\" \"" + Wide(kRecordFlag) + file_ + L"\" \"%1\"";
    registered_ = WriteDefaultValue(HKEY_CLASSES_ROOT, kHandlerKey, command);
}

AddressRecorder::~AddressRecorder() {
    WaitUntil([&] { return AllRecordersFinished(); });
    if (previous_) WriteDefaultValue(HKEY_CLASSES_ROOT, kHandlerKey, *previous_);
    DeleteFileW(file_.c_str());
}

std::vector<std::string> AddressRecorder::Addresses() const {
    std::vector<std::string> lines;
    pigmora::win32::unique_kernel_handle in = pigmora::win32::OwnFile(
        CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) return lines;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(in.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    // Only whole lines: a recorder may be writing right now.
    std::istringstream whole(text.substr(0, text.rfind('\n') + 1));
    for (std::string line; std::getline(whole, line);) lines.push_back(line);
    return lines;
}

bool AddressRecorder::AllRecordersFinished() const {
    pigmora::win32::unique_kernel_handle snapshot =
        pigmora::win32::OwnFile(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return true;
    std::wstring ownName = OwnPath();
    ownName = ownName.substr(ownName.find_last_of(L"\\/") + 1);
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID != GetCurrentProcessId() &&
            lstrcmpiW(entry.szExeFile, ownName.c_str()) == 0)
            return false;
    return true;
}

}  // namespace e2e
