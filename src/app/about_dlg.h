// The About dialog: the program icon and its name and version, with an OK button.
#pragma once

#include "platform/afx.h"

class CAboutDlg : public CDialog {
    DECLARE_DYNAMIC(CAboutDlg)
public:
    enum { IDD = 100 };
    CAboutDlg() : CDialog(IDD) {}

    static const char16_t* const kTitle;
    static const char16_t* const kText;
};

// Shows the About dialog on the screen (the presenter of CAboutDlg).
INT_PTR HxShowAboutDialog(CDialog& dialog);
