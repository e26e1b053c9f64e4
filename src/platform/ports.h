#pragma once
// The ways commands and models reach the user and the system. The main window implements them with real
// windows and calls; tests implement scripted ones that answer and record.
#include <string>

// A plain message box with an OK button (the registry layer's format complaint).
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual void ShowMessage(const std::wstring& text) = 0;
};

// Shows MessageBoxW captioned with the program's name, owned by the active window.
class RealMessageBoxPort : public MessageBoxPort {
public:
    void ShowMessage(const std::wstring& text) override;
};
