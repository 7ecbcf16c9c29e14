// CColorMenu, CColorPicker and the picker's palette window with its eyedropper.
#include "app/color_picker.h"

#include "formula/formula_editor.h"

#include <QApplication>
#include <QBitmap>
#include <QColorDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidgetAction>

namespace {

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

COLORREF SysColor(QPalette::ColorRole role) {
    return FromQColor(QApplication::palette().color(role));
}

// A raised (or sunken) frame: light top-left, dark bottom-right.
void DrawEdge(QPainter& p, const QRect& r, bool sunken) {
    const QColor light = QApplication::palette().color(QPalette::Light);
    const QColor dark = QApplication::palette().color(QPalette::Dark);
    p.setPen(sunken ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

// One item of the colour menu: its colour in a raised frame, sunken while the pointer is on it.
class CColorMenuItem : public QWidget {
public:
    CColorMenuItem(QWidgetAction* action, QMenu* menu, COLORREF color)
        : m_action(action), m_menu(menu), m_color(color) {
        setFixedSize(CColorMenu::kItemWidth, CColorMenu::kItemHeight);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        const QRect r = rect().adjusted(3, 1, -3, -1);
        p.fillRect(r, ToQColor(m_color));
        DrawEdge(p, r.adjusted(0, 0, -1, -1), m_hover);
    }
    void enterEvent(QEnterEvent*) override {
        m_hover = true;
        update();
    }
    void leaveEvent(QEvent*) override {
        m_hover = false;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton)
            return;
        m_action->trigger();
        m_menu->close();
    }

private:
    QWidgetAction* m_action;
    QMenu* m_menu;
    COLORREF m_color;
    bool m_hover = false;
};

// The eyedropper: a 16 x 16 one-bit picture with its hot spot at the lower left (0, 15).
QCursor MakeEyedropperCursor() {
    QBitmap shape(16, 16), mask(16, 16);
    shape.fill(Qt::color0);
    mask.fill(Qt::color0);
    QPainter ps(&shape), pm(&mask);
    // The tube from the tip at the lower left up to the bulb at the upper right.
    const QPolygon tube({QPoint(0, 15), QPoint(1, 12), QPoint(9, 4), QPoint(11, 6), QPoint(3, 14)});
    for (QPainter* p : {&ps, &pm}) {
        p->setPen(Qt::color1);
        p->setBrush(p == &pm ? Qt::color1 : Qt::color0);
        p->drawPolygon(tube);
        p->setBrush(Qt::color1);
        p->drawEllipse(QRect(10, 1, 5, 5));
        p->drawLine(8, 3, 12, 7);
    }
    ps.end();
    pm.end();
    return QCursor(shape, mask, 0, 15);
}

} // namespace

CString HxColorText(COLORREF color) {
    return HxFormat(u"#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
}

// ---------------------------------------------------------------------------------------------
// The colour menu

CColorMenu::CColorMenu(QWidget* parent) : QMenu(parent) {
    for (int i = 0; i < HX_FORMULA_COLOR_COUNT; ++i) {
        auto* action = new QWidgetAction(this);
        action->setData(int(ID_COLOR_FIRST) + i);
        action->setDefaultWidget(new CColorMenuItem(action, this, HxFormulaColor(i)));
        addAction(action);
    }
}

UINT CColorMenu::Track(const QPoint& screenPos) {
    QAction* chosen = exec(screenPos);
    return chosen ? UINT(chosen->data().toInt()) : 0;
}

// ---------------------------------------------------------------------------------------------
// The palette's cells

COLORREF HxPaletteCellColor(int index) {
    if (index < 0 || index >= HX_PALETTE_COLUMNS * HX_PALETTE_ROWS)
        return 0;
    const int column = index % HX_PALETTE_COLUMNS, row = index / HX_PALETTE_COLUMNS;
    if (column == 0) {
        const int grey = row < 10 ? 255 - 23 * row : (row == 10 ? 23 : 0);
        return RGB(grey, grey, grey);
    }
    // Two blocks of six rows, filled column by column: blue down a column, green across the
    // columns, red every six columns (0, 51, 102 in the upper block, 153, 204, 255 in the lower).
    const int block = row / 6;
    const int blue = 51 * (row % 6);
    const int green = 51 * ((column - 1) % 6);
    const int red = 51 * ((column - 1) / 6 + 3 * block);
    return RGB(red, green, blue);
}

int HxPaletteCellAt(int x, int y) {
    if (x <= 0 || y <= 0 || y >= 10 * HX_PALETTE_ROWS || x >= 10 * HX_PALETTE_COLUMNS)
        return -1;
    if (x % 10 == 0 || y % 10 == 0)
        return -1;
    return x / 10 + HX_PALETTE_COLUMNS * (y / 10);
}

// ---------------------------------------------------------------------------------------------
// The picker button

CColorPicker::CColorPicker(QWidget* parent)
    : QAbstractButton(parent), m_color(SysColor(QPalette::Button)), m_eyedropper(MakeEyedropperCursor()) {
    setFocusPolicy(Qt::StrongFocus);
}

CColorPicker::~CColorPicker() {
    if (m_palette)
        m_palette->Detach();
    ClosePalette();
}

std::function<bool(COLORREF&, QWidget*)>& CColorPicker::ColorDialog() {
    static std::function<bool(COLORREF&, QWidget*)> dialog = [](COLORREF& color, QWidget* parent) {
        const QColor c =
            QColorDialog::getColor(ToQColor(color), parent, QString(), QColorDialog::DontUseNativeDialog);
        if (!c.isValid())
            return false;
        color = FromQColor(c);
        return true;
    };
    return dialog;
}

void CColorPicker::SetColor(COLORREF color) {
    m_color = color & 0xFFFFFF;
    const QString text = HxColorText(m_color).ToQString();
    if (auto* label = qobject_cast<QLabel*>(m_buddy.data()))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(m_buddy.data()))
        edit->setText(text);
    update();
    emit colorChanged(m_color);
}

void CColorPicker::SetBuddy(QWidget* buddy) {
    m_buddy = buddy;
}

QPoint CColorPicker::PalettePosition(const QRect& button, const QRect& screen) {
    int x = std::clamp(button.left(), screen.left(), screen.left() + screen.width() - HX_PALETTE_WIDTH);
    int y = button.bottom() + 1 - 1; // QRect's bottom is the last row: the bottom edge - 1
    if (y > screen.top() + screen.height() - HX_PALETTE_HEIGHT)
        y -= HX_PALETTE_HEIGHT;
    return QPoint(x, y);
}

void CColorPicker::OpenPalette() {
    if (m_open)
        return;
    const QRect button(mapToGlobal(QPoint(0, 0)), size());
    QScreen* screen = QGuiApplication::screenAt(button.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    m_palette = new CColorPalette(this, m_color);
    m_palette->move(PalettePosition(button, area));
    m_open = true;
    m_palette->show();
    update();
}

void CColorPicker::ClosePalette() {
    if (m_palette) {
        CColorPalette* palette = m_palette;
        m_palette = nullptr;
        palette->hide();
        palette->deleteLater();
    }
    m_open = false;
}

void CColorPicker::OnPaletteResult(COLORREF color) {
    ClosePalette();
    if ((color & 0xFFFFFF) != m_color)
        SetColor(color);
    else
        update();
}

void CColorPicker::OnPaletteMore() {
    ClosePalette();
    COLORREF color = m_color;
    if (ColorDialog()(color, window()))
        SetColor(color);
    update();
}

void CColorPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    OpenPalette();
    if (m_palette)
        m_palette->Press(event->globalPosition().toPoint());
    update();
}

void CColorPicker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    p.fillRect(r, pal.color(QPalette::Button));
    if (!m_open) {
        // A 3D frame of white and the dark shadow, a frame in the face colour inside it.
        p.setPen(Qt::white);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.color(QPalette::Shadow));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    } else {
        DrawEdge(p, r, true);
    }
    p.setPen(pal.color(QPalette::Button));
    p.drawRect(r.adjusted(1, 1, -2, -2));
    const QRect face = r.adjusted(3, 3, -3, -3);
    p.fillRect(face, isEnabled() ? ToQColor(m_color) : pal.color(QPalette::Button));
    // The drop-down glyph: a notch in the face colour with a small black triangle of three lines.
    const QRect notch(face.right() - 8, face.bottom() - 5, 9, 6);
    p.fillRect(notch, pal.color(QPalette::Button));
    p.setPen(Qt::black);
    for (int i = 0; i < 3; ++i)
        p.drawLine(notch.left() + 2 + i, notch.top() + 1 + i, notch.right() - 2 - i, notch.top() + 1 + i);
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

// ---------------------------------------------------------------------------------------------
// The palette window

CColorPalette::CColorPalette(CColorPicker* owner, COLORREF current)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_owner(owner),
      m_initial(current), m_shown(current) {
    setWindowTitle(QStringLiteral("Palatte"));
    setFixedSize(HX_PALETTE_WIDTH, HX_PALETTE_HEIGHT);
    setMouseTracking(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

bool CColorPalette::ScreenPixel(const QPoint& screenPos, COLORREF& color) {
    QScreen* screen = QGuiApplication::screenAt(screenPos);
    if (!screen)
        return false;
    const QPoint local = screenPos - screen->geometry().topLeft();
    const QImage pixel = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
    if (pixel.isNull() || pixel.width() < 1 || pixel.height() < 1)
        return false;
    color = FromQColor(pixel.pixelColor(0, 0));
    return true;
}

void CColorPalette::Press(const QPoint& screenPos) {
    m_pressPoint = screenPos;
    m_moved = false;
    update();
}

void CColorPalette::MoveTo(const QPoint& screenPos) {
    if (screenPos == m_pressPoint && !m_moved) {
        if (m_owner)
            setCursor(m_owner->EyedropperCursor());
        return;
    }
    m_moved = true;
    const QPoint local = mapFromGlobal(screenPos);
    const bool inside = rect().contains(local);
    setCursor(inside ? QCursor(Qt::ArrowCursor) : (m_owner ? m_owner->EyedropperCursor() : QCursor()));
    if (!inside) {
        // The eyedropper: the pixel under the pointer anywhere on the screen.
        COLORREF pixel;
        if (ScreenPixel(screenPos, pixel) && pixel != m_shown) {
            m_shown = pixel;
            update(QRect(0, 120, width(), 30));
        }
        if (m_hovered >= 0) {
            m_hovered = -1;
            update();
        }
        return;
    }
    const bool overMore = MoreButtonRect().contains(local);
    if (m_overMore && !overMore)
        releaseMouse(); // leaving the colour-dialog button gives the mouse back
    m_overMore = overMore;
    if (local.y() >= 10 * HX_PALETTE_ROWS) {
        // Below the grid the colour given at opening is shown.
        if (m_shown != m_initial || m_hovered >= 0) {
            m_shown = m_initial;
            m_hovered = -1;
            update();
        }
        return;
    }
    const int cell = HxPaletteCellAt(local.x(), local.y());
    if (cell != m_hovered) {
        m_hovered = cell;
        if (cell >= 0)
            m_shown = HxPaletteCellColor(cell);
        update();
    }
}

void CColorPalette::Release(const QPoint& screenPos) {
    const QPoint local = mapFromGlobal(screenPos);
    Finish(rect().contains(local) && MoreButtonRect().contains(local));
}

void CColorPalette::Finish(bool more) {
    if (m_finished)
        return;
    m_finished = true;
    if (!m_owner)
        return;
    if (more)
        m_owner->OnPaletteMore();
    else
        m_owner->OnPaletteResult(m_shown);
}

void CColorPalette::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (!rect().contains(event->position().toPoint())) {
        // A press outside: the palette loses its place and the colour shown is taken.
        Finish(false);
        return;
    }
    Press(global);
}

void CColorPalette::mouseMoveEvent(QMouseEvent* event) {
    MoveTo(event->globalPosition().toPoint());
}

void CColorPalette::mouseReleaseEvent(QMouseEvent* event) {
    Release(event->globalPosition().toPoint());
}

void CColorPalette::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Closed by the system (another window activated): the colour shown is the answer.
    Finish(false);
}

void CColorPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    for (int i = 0; i < HX_PALETTE_COLUMNS * HX_PALETTE_ROWS; ++i) {
        const int c = i % HX_PALETTE_COLUMNS, r = i / HX_PALETTE_COLUMNS;
        p.fillRect(QRect(10 * c + 1, 10 * r + 1, 9, 9), ToQColor(HxPaletteCellColor(i)));
    }
    // The black grid lines (the frame's left and top edges among them).
    p.setPen(Qt::black);
    for (int x = 0; x <= 10 * HX_PALETTE_COLUMNS; x += 10)
        p.drawLine(x, 0, x, 10 * HX_PALETTE_ROWS);
    for (int y = 0; y <= 10 * HX_PALETTE_ROWS; y += 10)
        p.drawLine(0, y, 10 * HX_PALETTE_COLUMNS, y);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_hovered >= 0) {
        const int c = m_hovered % HX_PALETTE_COLUMNS, r = m_hovered / HX_PALETTE_COLUMNS;
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.drawRect(QRect(10 * c, 10 * r, 10, 10));
    }
    // The preview, the colour's text and the colour-dialog button.
    const QRect preview(6, 126, 35, 18);
    p.fillRect(preview, ToQColor(m_shown));
    p.setPen(Qt::black);
    p.drawRect(preview.adjusted(-1, -1, 0, 0));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRect(81, 128, 80, 14), Qt::AlignLeft | Qt::AlignVCenter, HxColorText(m_shown).ToQString());
    const QRect more = MoreButtonRect();
    const bool pressed = m_overMore && (QApplication::mouseButtons() & Qt::LeftButton);
    p.fillRect(more, Qt::white);
    p.setPen(pressed ? Qt::black : Qt::white);
    p.drawLine(more.topLeft(), more.topRight());
    p.drawLine(more.topLeft(), more.bottomLeft());
    p.setPen(pressed ? Qt::white : Qt::black);
    p.drawLine(more.bottomLeft(), more.bottomRight());
    p.drawLine(more.topRight(), more.bottomRight());
    const QColor squares[3] = {Qt::red, Qt::green, Qt::yellow};
    const int shift = pressed ? 1 : 0;
    for (int i = 0; i < 3; ++i) {
        const QRect sq(more.left() + 3 + 2 * i + shift, more.top() + 3 + 2 * i + shift, 5, 5);
        p.fillRect(sq, squares[i]);
        p.setPen(QApplication::palette().color(QPalette::Shadow));
        p.drawRect(sq.adjusted(0, 0, -1, -1));
    }
}
