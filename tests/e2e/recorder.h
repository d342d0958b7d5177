// The driver doubles as a stand-in web browser: registered as the prefix's handler for web
// addresses, it is started as `pigmora_e2e.exe --record=<file> <address>` and appends the
// address as one line to the file, so a test sees what the program asked the shell to open.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// When the arguments ask for recording: records and gives the exit code; otherwise nothing.
std::optional<int> RecordIfAsked(int argc, char** argv);

// Makes this executable the handler of https addresses, recording into `file` (a Windows path),
// for as long as it lives; the previous handler comes back afterwards.
class AddressRecorder {
  public:
    explicit AddressRecorder(std::wstring file);
    ~AddressRecorder();
    AddressRecorder(const AddressRecorder&) = delete;
    AddressRecorder& operator=(const AddressRecorder&) = delete;

    bool registered() const { return registered_; }
    std::vector<std::string> Addresses() const;  // one a started recorder, in order
    // True once no recorder started by the shell is running any more.
    bool AllRecordersFinished() const;

  private:
    std::wstring file_;
    std::optional<std::wstring> previous_;
    bool registered_ = false;
};

}  // namespace e2e
