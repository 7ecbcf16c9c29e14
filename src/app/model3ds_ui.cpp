// The 3DS model's properties window and its registration as the presenter of CDlg3ds; the ribbon
// icon of the model command.
#include "app/model3ds_ui.h"

#include "app/dialog_window.h"
#include "app/ribbon_icons.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPolygonF>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

} // namespace

CModel3dsWindow::CModel3dsWindow(CDlg3ds& fields, QWidget* parent)
    : CHxExchangeDialog(CDlg3ds::Title(), parent), m_fields(fields) {
    using D = CDlg3ds;
    auto* layout = new QVBoxLayout(this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(Text(u"文件名："), this));
    QLineEdit* file = AddDescription(D::kFileNameEdit, fields.m_fileName);
    file->setMinimumWidth(320);
    fileRow->addWidget(file, 1);
    layout->addLayout(fileRow);

    auto* placement = new QHBoxLayout;
    auto* centre = new QGroupBox(Text(u"中心"), this);
    auto* grid = new QGridLayout(centre);
    const char16_t* axes[3] = {u"X:", u"Y:", u"Z:"};
    const int ids[3] = {D::kCenterXEdit, D::kCenterYEdit, D::kCenterZEdit};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(Text(axes[i]), centre), i, 0);
        grid->addWidget(AddNumberEdit(ids[i], fields.m_center[i]), i, 1);
    }
    placement->addWidget(centre);
    auto* right = new QVBoxLayout;
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(new QLabel(Text(u"缩放比:"), this));
    scaleRow->addWidget(AddNumberEdit(D::kScaleEdit, fields.m_scale));
    right->addLayout(scaleRow);
    auto* mode = new QGroupBox(Text(u"显示方式"), this);
    auto* modeLayout = new QVBoxLayout(mode);
    m_mode = new QButtonGroup(this);
    int index = 0;
    for (const char16_t* text : {u"线框模式", u"光照贴图"}) {
        auto* button = new QRadioButton(Text(text), mode);
        if (index == 0)
            Add(D::kModeRadio, button);
        m_mode->addButton(button, index++);
        modeLayout->addWidget(button);
    }
    SetRadioIndex(m_mode, fields.m_displayMode);
    right->addWidget(mode);
    m_hide = Add(D::kHiddenCheck, new QCheckBox(Text(u"隐藏对象"), this));
    m_hide->setChecked(fields.m_hide != 0);
    right->addWidget(m_hide);
    placement->addLayout(right);
    layout->addLayout(placement);
    AddOkCancel(layout);
}

void CModel3dsWindow::accept() {
    using D = CDlg3ds;
    float centre[3];
    float scale = 0.0f;
    const int ids[3] = {D::kCenterXEdit, D::kCenterYEdit, D::kCenterZEdit};
    for (int i = 0; i < 3; ++i)
        if (!GetFloat(ids[i], centre[i]))
            return;
    if (!GetFloat(D::kScaleEdit, scale))
        return;
    for (int i = 0; i < 3; ++i)
        m_fields.m_center[i] = centre[i];
    m_fields.m_scale = scale;
    const int mode = RadioIndex(m_mode);
    if (mode >= 0)
        m_fields.m_displayMode = mode;
    m_fields.m_hide = m_hide->isChecked() ? 1 : 0;
    QDialog::accept();
}

INT_PTR HxShowModel3dsDialog(CDialog& dialog) {
    auto* fields = dynamic_cast<CDlg3ds*>(&dialog);
    if (!fields)
        return IDCANCEL;
    CModel3dsWindow window(*fields, QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

namespace {

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlg3ds), HxShowModel3dsDialog);
    // A small house seen from the side, turning: the command that brings in a 3DS model.
    HxAddRibbonIcon(QStringLiteral("model-3ds"), [](QPainter& p, const HxIconPalette& pal) {
        QPen pen(pal.stroke, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(pal.fill);
        p.drawPolygon(QPolygonF({QPointF(7, 16), QPointF(7, 27), QPointF(23, 27), QPointF(23, 16)}));
        p.setBrush(QColor(pal.point.red(), pal.point.green(), pal.point.blue(), 150));
        p.drawPolygon(QPolygonF({QPointF(4, 17), QPointF(15, 7), QPointF(26, 17)}));
        p.setBrush(pal.stroke);
        p.drawRect(QRectF(13, 20, 4, 7));
        // The turning arrow above the roof.
        QPen arrow(pal.accent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(arrow);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(17, 2, 12, 8), 200 * 16, 250 * 16);
        p.setBrush(pal.accent);
        p.drawPolygon(QPolygonF({QPointF(17.2, 4.5), QPointF(16.0, 8.5), QPointF(19.8, 7.2)}));
    });
    return true;
}();

} // namespace
