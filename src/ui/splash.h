#pragma once
// `frmSplash`: shown while the main window starts. It places itself centred over its owner and shows the
// program's name, "Version 2.02" and "for Windows 95/NT" beside the program's picture. Not modal: the
// owner shows it, keeps working, and closes it.
#include "platform/unique_handle.h"
#include "platform/window.h"

inline constexpr wchar_t SplashClass[] = L"TessalySplash";

class frmSplash : public Window {
public:
    static constexpr int Width = 400, Height = 220; // pixels, the border included
    static constexpr int PictureWidth = 150;
    static constexpr int IdName = 100, IdVersion = 101, IdPlatforms = 102;

    frmSplash();
    ~frmSplash() override;
    // Creates and shows the window over owner (or the work area when there is none) and paints it at once.
    bool Show(HWND owner);
    void Close();

private:
    UniqueHFont nameFont_;
};
