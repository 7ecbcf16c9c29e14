// The application looks: one Fusion style, a palette and ribbon colours per look.
#include "app/app_look.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

#include <map>

namespace {

UINT g_currentLook = HX_DEFAULT_APPLICATION_LOOK;

// The colours of a light look as 0xRRGGBB: tab row and its text, panel area and border, accent,
// hovered and pressed buttons, status bar and its text.
struct LightColours {
    UINT id;
    QRgb tabRow, tabText, panelArea, border, accent, hover, pressed, status, statusText;
};

const LightColours kLightLooks[] = {
    // The plain looks: Fusion with quiet greys and one accent each.
    {325, 0xe6e6e6, 0x303030, 0xf4f4f4, 0xcccccc, 0x4a6fa5, 0xe2e8f0, 0xccd8e8, 0xe6e6e6, 0x303030},
    {326, 0xf0efe9, 0x303030, 0xfbfbf9, 0xd6d3c8, 0x316ac5, 0xe1e9f7, 0xc1d2ee, 0xf0efe9, 0x303030},
    {327, 0xece9d8, 0x222222, 0xf6f5ef, 0xd0ccb8, 0x0a58ca, 0xe5ecf8, 0xc6d6f0, 0xece9d8, 0x222222},
    {328, 0xc9ddf7, 0x153e75, 0xeef4fd, 0xb4cbea, 0x3c6fb6, 0xfde9b0, 0xf8c86a, 0xc9ddf7, 0x153e75},
    {329, 0xeeede5, 0x303030, 0xf8f8f4, 0xd2d0c4, 0x6b8cbf, 0xe4eaf4, 0xccd9ee, 0xeeede5, 0x303030},
    {330, 0xd9e0eb, 0x26354d, 0xf0f3f8, 0xc2ccdb, 0x4d6a94, 0xe0e8f3, 0xc7d5e8, 0xd9e0eb, 0x26354d},
    // Blue: a deep blue tab row and status bar over light panels.
    {331, 0x2b579a, 0xffffff, 0xf5f7fb, 0xd2dbe8, 0x2b579a, 0xdfe9f7, 0xc4d7f0, 0x2b579a, 0xffffff},
    // Silver: light greys throughout.
    {333, 0xe4e7eb, 0x2f3640, 0xf8f9fa, 0xd3d8de, 0x5b697b, 0xe6eaef, 0xd0d7e0, 0xe4e7eb, 0x2f3640},
    // Aqua: a teal tab row.
    {334, 0x148a84, 0xffffff, 0xf3f9f8, 0xc9e2df, 0x148a84, 0xd9f0ed, 0xb9e2dd, 0x148a84, 0xffffff},
    // Light cyan, with the flat application button of the Windows 7 ribbon.
    {335, 0xe2f3f7, 0x1d4e5c, 0xf9fdfe, 0xc8e3eb, 0x1f8fad, 0xdcf1f6, 0xbde4ee, 0xd6edf3, 0x1d4e5c},
};

HxLook Light(const LightColours& c) {
    const QColor panelArea = QColor::fromRgb(c.panelArea), accent = QColor::fromRgb(c.accent);
    const QColor pressed = QColor::fromRgb(c.pressed);
    HxLook l;
    l.id = c.id;
    l.window = panelArea.darker(103);
    l.base = QColor(255, 255, 255);
    l.text = QColor(0x22, 0x27, 0x2e);
    l.button = panelArea;
    l.highlight = accent;
    l.tabRow = QColor::fromRgb(c.tabRow);
    l.tabText = QColor::fromRgb(c.tabText);
    l.tabSelected = panelArea;
    l.tabSelectedText = accent.darker(115);
    l.panelArea = panelArea;
    l.panelBorder = QColor::fromRgb(c.border);
    l.caption = QColor(0x5a, 0x63, 0x70);
    l.hover = QColor::fromRgb(c.hover);
    l.pressed = pressed;
    l.checked = pressed.lighter(104);
    l.accent = accent;
    l.accentText = QColor(255, 255, 255);
    l.statusBar = QColor::fromRgb(c.status);
    l.statusText = QColor::fromRgb(c.statusText);
    l.icons.accent = accent.lightness() > 150 ? accent.darker(140) : accent;
    l.icons.fill = l.icons.accent;
    l.icons.fill.setAlpha(60);
    return l;
}

std::map<UINT, HxLook>& Looks() {
    static std::map<UINT, HxLook> looks;
    if (!looks.empty())
        return looks;
    const QColor white(255, 255, 255);
    for (const LightColours& c : kLightLooks)
        looks[c.id] = Light(c);
    looks[335].flatApplicationButton = true;
    // Black: dark panels, light text and icon lines.
    HxLook dark;
    dark.id = 332;
    dark.dark = true;
    dark.window = QColor(0x2b, 0x2b, 0x2e);
    dark.base = QColor(0x1e, 0x1e, 0x20);
    dark.text = QColor(0xee, 0xee, 0xee);
    dark.button = QColor(0x33, 0x33, 0x37);
    dark.highlight = QColor(0x3c, 0x8d, 0xde);
    dark.tabRow = QColor(0x1b, 0x1b, 0x1d);
    dark.tabText = QColor(0xd8, 0xd8, 0xd8);
    dark.tabSelected = QColor(0x30, 0x30, 0x33);
    dark.tabSelectedText = white;
    dark.panelArea = QColor(0x30, 0x30, 0x33);
    dark.panelBorder = QColor(0x48, 0x48, 0x4d);
    dark.caption = QColor(0xa8, 0xa8, 0xad);
    dark.hover = QColor(0x45, 0x45, 0x4a);
    dark.pressed = QColor(0x2a, 0x55, 0x85);
    dark.checked = QColor(0x2f, 0x4d, 0x70);
    dark.accent = QColor(0x3c, 0x8d, 0xde);
    dark.accentText = white;
    dark.statusBar = QColor(0x1b, 0x1b, 0x1d);
    dark.statusText = QColor(0xd8, 0xd8, 0xd8);
    dark.icons.stroke = QColor(0xe2, 0xe6, 0xea);
    dark.icons.accent = QColor(0x5a, 0xa6, 0xf0);
    dark.icons.fill = QColor(0x5a, 0xa6, 0xf0, 80);
    dark.icons.point = QColor(0xff, 0x6b, 0x5e);
    looks[332] = dark;
    // The status bar holds a row of tool icons: keep it light under the light looks.
    for (auto& [id, look] : looks)
        if (!look.dark && look.statusBar.lightness() < 160) {
            look.statusBar = look.panelArea.darker(104);
            look.statusText = QColor(0x2a, 0x2f, 0x36);
        }
    return looks;
}

QString Css(const QColor& c) {
    return c.alpha() == 255
               ? c.name()
               : QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

} // namespace

bool HxIsApplicationLook(UINT id) {
    return id >= ID_VIEW_APPLOOK_WIN_2000 && id <= ID_VIEW_APPLOOK_WINDOWS_7;
}

const HxLook& HxGetLook(UINT id) {
    auto it = Looks().find(id);
    return it != Looks().end() ? it->second : Looks().at(HX_DEFAULT_APPLICATION_LOOK);
}

void HxApplyLook(UINT id) {
    const HxLook& look = HxGetLook(id);
    g_currentLook = look.id;
    HxSetIconPalette(look.icons);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette pal;
    pal.setColor(QPalette::Window, look.window);
    pal.setColor(QPalette::WindowText, look.text);
    pal.setColor(QPalette::Base, look.base);
    pal.setColor(QPalette::AlternateBase, look.window);
    pal.setColor(QPalette::Text, look.text);
    pal.setColor(QPalette::Button, look.button);
    pal.setColor(QPalette::ButtonText, look.text);
    pal.setColor(QPalette::Highlight, look.highlight);
    pal.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    pal.setColor(QPalette::ToolTipBase, look.dark ? QColor(0x3a, 0x3a, 0x3e) : QColor(0xff, 0xff, 0xff));
    pal.setColor(QPalette::ToolTipText, look.text);
    pal.setColor(QPalette::Link, look.accent);
    QColor disabled = look.dark ? QColor(0x80, 0x80, 0x80) : QColor(0xa0, 0xa4, 0xaa);
    pal.setColor(QPalette::Disabled, QPalette::Text, disabled);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    QApplication::setPalette(pal);
}

UINT HxGetCurrentLook() {
    return g_currentLook;
}

UINT HxReadApplicationLook() {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    settings.beginGroup(QStringLiteral("Settings"));
    bool ok = false;
    UINT id = settings.value(QStringLiteral("ApplicationLook"), HX_DEFAULT_APPLICATION_LOOK).toUInt(&ok);
    return ok && HxIsApplicationLook(id) ? id : HX_DEFAULT_APPLICATION_LOOK;
}

void HxWriteApplicationLook(UINT id) {
    QSettings settings(QStringLiteral("Vorlane"), QStringLiteral("Halvix"));
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("ApplicationLook"), id);
}

QString HxRibbonStyleSheet(const HxLook& l) {
    QString s = QStringLiteral(R"(
#HxRibbonTabRow { background: %1; }
#HxRibbonTabRow QTabBar { background: transparent; }
#HxRibbonTabRow QTabBar::tab { color: %2; background: transparent; border: none; padding: 5px 16px 6px 16px;
    margin: 3px 1px 0 1px; border-top-left-radius: 3px; border-top-right-radius: 3px; }
#HxRibbonTabRow QTabBar::tab:hover { background: %13; }
#HxRibbonTabRow QTabBar::tab:selected { background: %3; color: %4; border: 1px solid %6; border-bottom: none; }
#HxRibbonPages, #HxRibbonPage { background: %5; }
#HxRibbonPages { border-bottom: 1px solid %6; }
#HxRibbonScrollArrow { background: %5; border: 1px solid %6; padding: 0; }
#HxRibbonPanel { background: transparent; border-right: 1px solid %6; }
#HxRibbonPanelCaption { color: %7; font-size: 11px; padding: 0 4px 1px 4px; }
#HxRibbonPanelPopup { background: %5; border: 1px solid %6; }
QToolButton#HxRibbonPanelButton { border: 1px solid transparent; border-radius: 3px; background: transparent;
    color: %8; padding: 3px 6px 2px 6px; margin: 0 2px; }
QToolButton#HxRibbonPanelButton:hover { background: %9; border-color: %10; }
QToolButton#HxRibbonPanelButton:pressed { background: %10; border-color: %11; }
QToolButton#HxRibbonLarge, QToolButton#HxRibbonSmall, QToolButton#HxRibbonCompact {
    border: 1px solid transparent; border-radius: 3px; background: transparent; color: %8; padding: 2px; }
QToolButton#HxRibbonLarge { padding: 3px 4px 2px 4px; }
QToolButton#HxRibbonLarge:hover, QToolButton#HxRibbonSmall:hover, QToolButton#HxRibbonCompact:hover {
    background: %9; border-color: %10; }
QToolButton#HxRibbonLarge:pressed, QToolButton#HxRibbonSmall:pressed, QToolButton#HxRibbonCompact:pressed,
QToolButton#HxRibbonLarge:checked, QToolButton#HxRibbonSmall:checked, QToolButton#HxRibbonCompact:checked {
    background: %10; border-color: %11; }
QToolButton#HxRibbonLarge[hxChecked="true"], QToolButton#HxRibbonSmall[hxChecked="true"],
QToolButton#HxRibbonCompact[hxChecked="true"] { background: %10; border-color: %11; }
QToolButton#HxRibbonLarge:disabled, QToolButton#HxRibbonSmall:disabled { color: %12; }
QToolButton#HxRibbonSmall::menu-button, QToolButton#HxRibbonLarge::menu-button { border: none; width: 12px; }
QToolButton#HxRibbonLarge::menu-indicator, QToolButton#HxRibbonSmall::menu-indicator { subcontrol-position: right center; }
#HxRibbon QCheckBox, #HxRibbon QLabel#HxRibbonLabel { color: %8; }
#HxRibbon QLabel#HxRibbonSliderLabel { color: %8; }
QToolButton#HxApplicationButton { color: %15; background: %14; border: none; padding: 5px 16px 6px 16px;
    margin: 3px 4px 0 0; font-weight: bold; }
QToolButton#HxApplicationButton:hover { background: %16; }
QToolButton#HxApplicationButton::menu-indicator { image: none; width: 0; }
QMenu#HxApplicationMenu { padding: 6px 6px; min-width: 220px; }
QMenu#HxApplicationMenu::item { padding: 8px 28px 8px 8px; }
QMenu#HxApplicationMenu::separator { height: 1px; background: %6; margin: 4px 10px; }
QMenu#HxApplicationMenu::item:selected { background: %9; color: %8; }
QToolButton#HxRibbonMinimize { border: none; color: %2; padding: 2px 8px; background: transparent; }
QToolButton#HxRibbonMinimize:hover { background: %13; }
)");
    const bool tabRowDark = l.tabRow.lightness() < 140;
    QColor tabHover = tabRowDark ? l.tabRow.lighter(125) : l.tabRow.darker(106);
    QColor appButton = l.dark || l.flatApplicationButton || !tabRowDark ? l.accent : l.tabRow.darker(125);
    return s
        .arg(Css(l.tabRow), Css(l.tabText), Css(l.tabSelected), Css(l.tabSelectedText), Css(l.panelArea),
             Css(l.panelBorder), Css(l.caption), Css(l.text), Css(l.hover))
        .arg(Css(l.pressed), Css(l.accent), Css(l.dark ? QColor(0x80, 0x80, 0x80) : QColor(0x9a, 0xa0, 0xa8)),
             Css(tabHover), Css(appButton), Css(l.accentText), Css(appButton.lighter(115)));
}

QString HxStatusBarStyleSheet(const HxLook& l) {
    return QStringLiteral(R"(
QStatusBar#HxStatusBar { background: %1; color: %2; border-top: 1px solid %3; }
QStatusBar#HxStatusBar::item { border: none; }
QStatusBar#HxStatusBar QLabel { color: %2; padding: 0 6px; }
QStatusBar#HxStatusBar QFrame#HxStatusSeparator { background: %4; max-width: 1px; min-width: 1px; margin: 4px 2px; }
QStatusBar#HxStatusBar QToolButton { border: 1px solid transparent; border-radius: 2px; background: transparent;
    padding: 1px; color: %2; }
QStatusBar#HxStatusBar QToolButton:hover { background: %5; }
QStatusBar#HxStatusBar QToolButton:pressed, QStatusBar#HxStatusBar QToolButton[hxChecked="true"] { background: %6; }
)")
        .arg(Css(l.statusBar), Css(l.statusText), Css(l.panelBorder),
             Css(l.statusText.lightness() > 128 ? QColor(255, 255, 255, 90) : QColor(0, 0, 0, 60)),
             Css(l.statusText.lightness() > 128 ? QColor(255, 255, 255, 50) : l.hover),
             Css(l.statusText.lightness() > 128 ? QColor(255, 255, 255, 90) : l.pressed));
}
