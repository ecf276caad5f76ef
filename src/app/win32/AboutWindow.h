// The native about box: a raised title band with the program's picture, the
// help text in a read-only memo, and the legal notice with the "&OK" button.
#pragma once

#include "platform/Dialogs.h"
#include "platform/win32/Toolkit.h"

namespace lumivane::win32 {

class AboutWindow : public NativeWindow, public ModalWindow {
public:
    AboutWindow(Application& app, HWND owner);
    ~AboutWindow() override;
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Builds the box, hidden; its controls raise if they cannot be made.
    void Create();
    // Shows the box modally over its owner; returns when it closes.
    void ShowModal() override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    Application& app_;
    HWND owner_;
    Font font_;
    Font titleFont_;
    Icon picture_;
    HWND ok_ = nullptr;
    bool modal_ = false;
    RECT band_{}, middle_{}, pictureFrame_{};
};

} // namespace lumivane::win32
