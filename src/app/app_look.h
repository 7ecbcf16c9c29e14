// The application looks (command ids 325 to 335): Qt palettes and ribbon colours, and the look
// kept under "ApplicationLook" in the settings.
#pragma once

#include "app/ribbon_icons.h"
#include "platform/afx.h"

#include <QColor>
#include <QString>

constexpr UINT ID_VIEW_APPLOOK_WIN_2000 = 325;
constexpr UINT ID_VIEW_APPLOOK_OFF_XP = 326;
constexpr UINT ID_VIEW_APPLOOK_WIN_XP = 327;
constexpr UINT ID_VIEW_APPLOOK_OFF_2003 = 328;
constexpr UINT ID_VIEW_APPLOOK_VS_2005 = 329;
constexpr UINT ID_VIEW_APPLOOK_VS_2008 = 330;
constexpr UINT ID_VIEW_APPLOOK_OFF_2007_BLUE = 331;
constexpr UINT ID_VIEW_APPLOOK_OFF_2007_BLACK = 332;
constexpr UINT ID_VIEW_APPLOOK_OFF_2007_SILVER = 333;
constexpr UINT ID_VIEW_APPLOOK_OFF_2007_AQUA = 334;
constexpr UINT ID_VIEW_APPLOOK_WINDOWS_7 = 335;
constexpr UINT HX_DEFAULT_APPLICATION_LOOK = ID_VIEW_APPLOOK_OFF_2007_BLUE;

struct HxLook {
    UINT id = HX_DEFAULT_APPLICATION_LOOK;
    bool dark = false;
    // The Qt palette of dialogs and panes.
    QColor window, base, text, button, highlight;
    // The ribbon: tab row, panel area, lines, hover and pressed fills, the application button.
    QColor tabRow, tabText, tabSelected, tabSelectedText, panelArea, panelBorder, caption;
    QColor hover, pressed, checked, accent, accentText;
    QColor statusBar, statusText;
    // Windows 7 ribbon look: a flat application button in the tab row.
    bool flatApplicationButton = false;
    HxIconPalette icons;
};

bool HxIsApplicationLook(UINT id);
// The look of id; an id outside 325 to 335 gives the default look.
const HxLook& HxGetLook(UINT id);
// Sets the style, palette and icon colours of the whole program.
void HxApplyLook(UINT id);
UINT HxGetCurrentLook();

// "ApplicationLook" under organisation "Vorlane", group "Settings"; a missing or foreign value
// reads as the default (331).
UINT HxReadApplicationLook();
void HxWriteApplicationLook(UINT id);

// Style sheets of the ribbon and the status bar in a look.
QString HxRibbonStyleSheet(const HxLook& look);
QString HxStatusBarStyleSheet(const HxLook& look);
