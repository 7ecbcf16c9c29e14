// CToolBarPopupWnd: the popup grid of symbol images under a toolbar button; a click on an image
// sends UM_INSERT_SYMBOL with its index to the owner, and any click closes the grid.
#pragma once

#include "platform/afx.h"

#include <QPixmap>
#include <QWidget>

#include <vector>

constexpr UINT UM_INSERT_SYMBOL = 0x804;

class CToolBarPopupWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;

    // A grid of the images (the cell size from the first one) shown at a screen point, owned by
    // `owner` (which receives UM_INSERT_SYMBOL); the window deletes itself when it closes.
    CToolBarPopupWnd(CWnd* owner, std::vector<QPixmap> images, QWidget* parentWindow = nullptr);
    static CToolBarPopupWnd* Create(CWnd* owner, std::vector<QPixmap> images, const QPoint& screenPos,
                                    QWidget* parentWindow = nullptr);

    int Rows() const { return m_rows; }
    QSize CellSize() const { return m_cell; }
    // The grid's area inside the one-pixel border.
    QRect ClientRect() const { return QRect(0, 0, kColumns * m_cell.width(), m_rows * m_cell.height()); }
    // The rectangle of a cell (row-major index), in client coordinates.
    QRect CellRect(int index) const;
    // The cell (column, row) under a client point, and its index; -1 outside the grid.
    int IndexAt(const QPoint& client) const;
    int Hovered() const { return m_hovered; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint ToClient(const QPoint& widgetPos) const { return widgetPos - QPoint(1, 1); }

    CWnd* m_owner;
    std::vector<QPixmap> m_images;
    QSize m_cell{22, 22};
    int m_rows = 0;
    int m_hovered = -1;
};
