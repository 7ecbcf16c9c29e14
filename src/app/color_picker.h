// The colour controls of the dialogs: CColorMenu, a popup menu of sixteen colours (commands 2000 to
// 2015), and CColorPicker, a colour button that opens a palette of 228 cells with an eyedropper
// and the system colour dialog and shows its colour as "#RRGGBB" in an optional buddy text.
#pragma once

#include "document/display_ids.h" // ID_COLOR_FIRST, ID_COLOR_LAST
#include "platform/afx.h"

#include <QAbstractButton>
#include <QCursor>
#include <QMenu>
#include <QPointer>

class QLabel;
class QLineEdit;

constexpr UINT UM_PALETTE_INIT = 0x7FD;
constexpr UINT UM_PALETTE_MORE = 0x7FE;

// "#%02X%02X%02X" of a colour's red, green and blue.
CString HxColorText(COLORREF color);

class CColorMenu : public QMenu {
    Q_OBJECT
public:
    explicit CColorMenu(QWidget* parent = nullptr);
    // Shows the menu at a screen point; the command id chosen (2000 + the colour's index), 0 when
    // the menu was closed without a choice.
    UINT Track(const QPoint& screenPos);
    // The item rectangles are 80 x 20 pixels.
    static constexpr int kItemWidth = 80, kItemHeight = 20;
};

// The palette's cells: 19 columns x 12 rows on a 10-pixel pitch; column 0 a grey ramp, the others
// the 216 colours of six levels each of red, green and blue.
constexpr int HX_PALETTE_COLUMNS = 19;
constexpr int HX_PALETTE_ROWS = 12;
constexpr int HX_PALETTE_WIDTH = 191;
constexpr int HX_PALETTE_HEIGHT = 150;
COLORREF HxPaletteCellColor(int index);
// The cell under a point of the palette window (the grid is the top 120 pixels), -1 on a grid line
// (x or y a multiple of 10) or outside the grid.
int HxPaletteCellAt(int x, int y);

class CColorPalette;

class CColorPicker : public QAbstractButton {
    Q_OBJECT
public:
    explicit CColorPicker(QWidget* parent = nullptr);
    ~CColorPicker() override;

    COLORREF GetColor() const { return m_color; }
    // Stores the colour, tells the dialog (colorChanged), writes "#RRGGBB" into the buddy and
    // repaints.
    void SetColor(COLORREF color);
    // A text control that shows the colour as "#RRGGBB" (a QLabel or a QLineEdit).
    void SetBuddy(QWidget* buddy);

    bool IsPaletteOpen() const { return m_open; }
    CColorPalette* Palette() const { return m_palette; }
    // Opens the palette below the button (kept on the screen) as a press of the button does.
    void OpenPalette();
    // The palette's answers: a colour picked (set when it differs from the current one), and the
    // colour-dialog button.
    void OnPaletteResult(COLORREF color);
    void OnPaletteMore();
    // Where the palette opens for a button whose screen rectangle is `button` on a screen of
    // `screen`: at the button's left and bottom edge - 1, the left edge kept between 0 and the
    // screen's width - 191, and moved up by 150 when its top lies below the screen's height - 150.
    static QPoint PalettePosition(const QRect& button, const QRect& screen);

    QCursor EyedropperCursor() const { return m_eyedropper; }
    // The colour dialog (tests replace it): the chosen colour, or false when cancelled.
    static std::function<bool(COLORREF& color, QWidget* parent)>& ColorDialog();

signals:
    void colorChanged(COLORREF color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QSize sizeHint() const override { return QSize(48, 22); }

private:
    void ClosePalette();

    COLORREF m_color;
    QPointer<CColorPalette> m_palette;
    bool m_open = false;
    QCursor m_eyedropper;
    QPointer<QWidget> m_buddy;
};

// The floating palette of a colour picker.
class CColorPalette : public QWidget {
    Q_OBJECT
public:
    CColorPalette(CColorPicker* owner, COLORREF current);

    // A press handed on from the picker (screen position), then moves and the release.
    void Press(const QPoint& screenPos);
    void MoveTo(const QPoint& screenPos);
    void Release(const QPoint& screenPos);

    // Forgets the owner (which is going away): the palette then answers nobody.
    void Detach() { m_owner = nullptr; }
    COLORREF ShownColor() const { return m_shown; }
    int HoveredCell() const { return m_hovered; }
    QRect MoreButtonRect() const { return QRect(167, 126, 16, 16); }
    // The colour of the screen pixel at a screen point; false where the screen cannot be read.
    static bool ScreenPixel(const QPoint& screenPos, COLORREF& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Finish(bool more);

    QPointer<CColorPicker> m_owner;
    COLORREF m_initial;
    COLORREF m_shown;
    QPoint m_pressPoint;
    bool m_moved = false;
    bool m_finished = false;
    bool m_overMore = false;
    int m_hovered = -1;
};
