// CToolBarPopupWnd: painting the grid, the hovered cell and the click.
#include "app/symbol_palette.h"

#include <QMouseEvent>
#include <QPainter>

CToolBarPopupWnd::CToolBarPopupWnd(CWnd* owner, std::vector<QPixmap> images, QWidget* parentWindow)
    : QWidget(parentWindow, Qt::Popup | Qt::FramelessWindowHint), m_owner(owner),
      m_images(std::move(images)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    if (!m_images.empty())
        m_cell = QSize(m_images.front().width() + 2, m_images.front().height() + 2);
    m_rows = (int(m_images.size()) + kColumns - 1) / kColumns;
    const QRect client = ClientRect();
    setFixedSize(client.width() + 2, client.height() + 2);
}

CToolBarPopupWnd* CToolBarPopupWnd::Create(CWnd* owner, std::vector<QPixmap> images, const QPoint& screenPos,
                                           QWidget* parentWindow) {
    auto* wnd = new CToolBarPopupWnd(owner, std::move(images), parentWindow);
    wnd->move(screenPos);
    wnd->show();
    wnd->update();
    return wnd;
}

QRect CToolBarPopupWnd::CellRect(int index) const {
    const int column = index % kColumns, row = index / kColumns;
    return QRect(QPoint(column * m_cell.width() + 1, row * m_cell.height() + 1),
                 QPoint((column + 1) * m_cell.width() - 1, (row + 1) * m_cell.height() - 1));
}

int CToolBarPopupWnd::IndexAt(const QPoint& client) const {
    if (!ClientRect().contains(client))
        return -1;
    return client.y() / m_cell.height() * kColumns + client.x() / m_cell.width();
}

void CToolBarPopupWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.translate(1, 1);
    for (int i = 0; i < m_rows * kColumns; ++i) {
        const QRect r = CellRect(i);
        const bool hot = i == m_hovered && i < int(m_images.size());
        p.fillRect(r, hot ? pal.color(QPalette::Button) : pal.color(QPalette::Base));
        if (i >= int(m_images.size()))
            continue;
        if (hot) {
            // Raised inner edge and the image blended as selected.
            p.setPen(pal.color(QPalette::Light));
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(pal.color(QPalette::Dark));
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
            p.drawPixmap(r.topLeft(), m_images[size_t(i)]);
            QColor tint = pal.color(QPalette::Highlight);
            tint.setAlpha(64);
            p.fillRect(r.adjusted(1, 1, -1, -1), tint);
        } else {
            p.drawPixmap(r.topLeft(), m_images[size_t(i)]);
        }
    }
}

void CToolBarPopupWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint client = ToClient(event->position().toPoint());
    const int index = IndexAt(client);
    if (index != m_hovered && index >= 0) {
        m_hovered = index;
        update();
    }
}

void CToolBarPopupWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int index = IndexAt(ToClient(event->position().toPoint()));
    if (index >= 0 && index < int(m_images.size()) && m_owner)
        m_owner->SendMessage(UM_INSERT_SYMBOL, 0, LPARAM(index));
    close();
}
