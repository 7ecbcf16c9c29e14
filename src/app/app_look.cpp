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

HxLook Light(UINT id, QColor tabRow, QColor tabText, QColor panelArea, QColor border, QColor accent,
             QColor hover, QColor pressed, QColor status, QColor statusText) {
    HxLook l;
    l.id = id;
    l.window = panelArea.darker(103);
    l.base = QColor(255, 255, 255);
    l.text = QColor(0x22, 0x27, 0x2e);
    l.button = panelArea;
    l.highlight = accent;
    l.tabRow = tabRow;
    l.tabText = tabText;
    l.tabSelected = panelArea;
    l.tabSelectedText = accent.darker(115);
    l.panelArea = panelArea;
    l.panelBorder = border;
    l.caption = QColor(0x5a, 0x63, 0x70);
    l.hover = hover;
    l.pressed = pressed;
    l.checked = pressed.lighter(104);
    l.accent = accent;
    l.accentText = QColor(255, 255, 255);
    l.statusBar = status;
    l.statusText = statusText;
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
    // The plain looks: Fusion with quiet greys and one accent each.
    looks[325] = Light(325, QColor(0xe6, 0xe6, 0xe6), QColor(0x30, 0x30, 0x30), QColor(0xf4, 0xf4, 0xf4),
                       QColor(0xcc, 0xcc, 0xcc), QColor(0x4a, 0x6f, 0xa5), QColor(0xe2, 0xe8, 0xf0),
                       QColor(0xcc, 0xd8, 0xe8), QColor(0xe6, 0xe6, 0xe6), QColor(0x30, 0x30, 0x30));
    looks[326] = Light(326, QColor(0xf0, 0xef, 0xe9), QColor(0x30, 0x30, 0x30), QColor(0xfb, 0xfb, 0xf9),
                       QColor(0xd6, 0xd3, 0xc8), QColor(0x31, 0x6a, 0xc5), QColor(0xe1, 0xe9, 0xf7),
                       QColor(0xc1, 0xd2, 0xee), QColor(0xf0, 0xef, 0xe9), QColor(0x30, 0x30, 0x30));
    looks[327] = Light(327, QColor(0xec, 0xe9, 0xd8), QColor(0x22, 0x22, 0x22), QColor(0xf6, 0xf5, 0xef),
                       QColor(0xd0, 0xcc, 0xb8), QColor(0x0a, 0x58, 0xca), QColor(0xe5, 0xec, 0xf8),
                       QColor(0xc6, 0xd6, 0xf0), QColor(0xec, 0xe9, 0xd8), QColor(0x22, 0x22, 0x22));
    looks[328] = Light(328, QColor(0xc9, 0xdd, 0xf7), QColor(0x15, 0x3e, 0x75), QColor(0xee, 0xf4, 0xfd),
                       QColor(0xb4, 0xcb, 0xea), QColor(0x3c, 0x6f, 0xb6), QColor(0xfd, 0xe9, 0xb0),
                       QColor(0xf8, 0xc8, 0x6a), QColor(0xc9, 0xdd, 0xf7), QColor(0x15, 0x3e, 0x75));
    looks[329] = Light(329, QColor(0xee, 0xed, 0xe5), QColor(0x30, 0x30, 0x30), QColor(0xf8, 0xf8, 0xf4),
                       QColor(0xd2, 0xd0, 0xc4), QColor(0x6b, 0x8c, 0xbf), QColor(0xe4, 0xea, 0xf4),
                       QColor(0xcc, 0xd9, 0xee), QColor(0xee, 0xed, 0xe5), QColor(0x30, 0x30, 0x30));
    looks[330] = Light(330, QColor(0xd9, 0xe0, 0xeb), QColor(0x26, 0x35, 0x4d), QColor(0xf0, 0xf3, 0xf8),
                       QColor(0xc2, 0xcc, 0xdb), QColor(0x4d, 0x6a, 0x94), QColor(0xe0, 0xe8, 0xf3),
                       QColor(0xc7, 0xd5, 0xe8), QColor(0xd9, 0xe0, 0xeb), QColor(0x26, 0x35, 0x4d));
    // Blue: a deep blue tab row and status bar over light panels.
    looks[331] = Light(331, QColor(0x2b, 0x57, 0x9a), white, QColor(0xf5, 0xf7, 0xfb),
                       QColor(0xd2, 0xdb, 0xe8), QColor(0x2b, 0x57, 0x9a), QColor(0xdf, 0xe9, 0xf7),
                       QColor(0xc4, 0xd7, 0xf0), QColor(0x2b, 0x57, 0x9a), white);
    // Silver: light greys throughout.
    looks[333] = Light(333, QColor(0xe4, 0xe7, 0xeb), QColor(0x2f, 0x36, 0x40), QColor(0xf8, 0xf9, 0xfa),
                       QColor(0xd3, 0xd8, 0xde), QColor(0x5b, 0x69, 0x7b), QColor(0xe6, 0xea, 0xef),
                       QColor(0xd0, 0xd7, 0xe0), QColor(0xe4, 0xe7, 0xeb), QColor(0x2f, 0x36, 0x40));
    // Aqua: a teal tab row.
    looks[334] = Light(334, QColor(0x14, 0x8a, 0x84), white, QColor(0xf3, 0xf9, 0xf8),
                       QColor(0xc9, 0xe2, 0xdf), QColor(0x14, 0x8a, 0x84), QColor(0xd9, 0xf0, 0xed),
                       QColor(0xb9, 0xe2, 0xdd), QColor(0x14, 0x8a, 0x84), white);
    // Light cyan, with the flat application button of the Windows 7 ribbon.
    looks[335] = Light(335, QColor(0xe2, 0xf3, 0xf7), QColor(0x1d, 0x4e, 0x5c), QColor(0xf9, 0xfd, 0xfe),
                       QColor(0xc8, 0xe3, 0xeb), QColor(0x1f, 0x8f, 0xad), QColor(0xdc, 0xf1, 0xf6),
                       QColor(0xbd, 0xe4, 0xee), QColor(0xd6, 0xed, 0xf3), QColor(0x1d, 0x4e, 0x5c));
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
#HxRibbonPanel { background: transparent; border-right: 1px solid %6; }
#HxRibbonPanelCaption { color: %7; font-size: 11px; padding: 0 4px 1px 4px; }
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
