// CFontDialog: the font dialog's fields (a LOGFONT, its colour and the flags); the windows show it
// as a font chooser with a colour, tests answer it with a runner.
#pragma once

#include "platform/dc.h"
#include "platform/dialog.h"

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_EFFECTS = 0x00000100; // underline and colour are offered too

class CFontDialog : public CDialog {
    DECLARE_DYNAMIC(CFontDialog)
public:
    explicit CFontDialog(const LOGFONT* font = nullptr, DWORD flags = CF_SCREENFONTS | CF_EFFECTS)
        : m_dwFlags(flags) {
        if (font)
            m_lf = *font;
    }
    COLORREF GetColor() const { return m_color; }

    LOGFONT m_lf;
    COLORREF m_color = 0;
    DWORD m_dwFlags;
};
