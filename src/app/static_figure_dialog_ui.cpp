// The positioning-figure dialog's window: its layout in the groups 尺度, 中心 and 轴向, the enabling
// rules of the type box, the typed type box, the checks of OK and the presenter's registration.
#include "app/static_figure_dialog_ui.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using D = CDlgStaticHalvix;

QLabel* Label(QWidget* parent, const char16_t* text) {
    return new QLabel(QString::fromUtf16(text), parent);
}

} // namespace

CStaticHalvixWindow::CStaticHalvixWindow(CDlgStaticHalvix& fields, QWidget* parent)
    : CHxExchangeDialog(u"添加定位图", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);

    // The type box: a list that may also be typed into.
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(Label(this, u"图的类型:"));
    m_type = Add(D::kType, new QComboBox(this));
    m_type->setEditable(true);
    m_type->setInsertPolicy(QComboBox::NoInsert);
    m_type->setCompleter(nullptr);
    m_type->setMaxVisibleItems(D::kTypeCount);
    for (const char16_t* name : D::kTypeNames)
        m_type->addItem(QString::fromUtf16(name));
    typeRow->addWidget(m_type, 1);
    layout->addLayout(typeRow);

    // 尺度: the sizes in two columns.
    auto* sizes = new QGroupBox(QStringLiteral("尺度"), this);
    auto* sizeGrid = new QGridLayout(sizes);
    const struct {
        int id;
        const char16_t* label;
        int row, column;
        QString text;
    } sizeFields[] = {{D::kLength, u"长:", 0, 0, FloatText(fields.m_length)},
                      {D::kWidth, u"宽:", 1, 0, FloatText(fields.m_width)},
                      {D::kHeight, u"高:", 2, 0, FloatText(fields.m_height)},
                      {D::kSideCount, u"底边数:", 0, 2, QString::number(fields.m_sideCount)},
                      {D::kRadius, u"半径:", 1, 2, FloatText(fields.m_radius)},
                      {D::kRatio, u"相似比:", 2, 2, FloatText(fields.m_ratio)}};
    for (const auto& f : sizeFields) {
        sizeGrid->addWidget(Label(sizes, f.label), f.row, f.column);
        sizeGrid->addWidget(AddNumberEdit(f.id, f.text), f.row, f.column + 1);
    }
    layout->addWidget(sizes);

    // 中心 and 轴向: three coordinates each.
    auto addPoint = [&](const char* title, const int(&ids)[3], const float(&values)[3]) {
        auto* group = new QGroupBox(QString::fromUtf8(title), this);
        auto* row = new QHBoxLayout(group);
        const char16_t* names[3] = {u"X:", u"Y:", u"Z:"};
        for (int i = 0; i < 3; ++i) {
            row->addWidget(Label(group, names[i]));
            row->addWidget(AddNumberEdit(ids[i], values[i]));
        }
        return group;
    };
    auto* points = new QHBoxLayout;
    points->addWidget(addPoint("中心", {D::kCentreX, D::kCentreY, D::kCentreZ},
                               {fields.m_centreX, fields.m_centreY, fields.m_centreZ}));
    points->addWidget(addPoint("轴向", {D::kAxisX, D::kAxisY, D::kAxisZ},
                               {fields.m_axisX, fields.m_axisY, fields.m_axisZ}));
    layout->addLayout(points);
    AddOkCancel(layout);

    // A row chosen enables its fields; typing into the box makes the cube of edge 10.
    const int type = fields.m_type >= 0 && fields.m_type < D::kTypeCount ? fields.m_type : 0;
    m_type->setCurrentIndex(type);
    ApplyType(type);
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_settingText)
            ApplyType(index);
    });
    connect(m_type->lineEdit(), &QLineEdit::textEdited, this, [this] { OnTypeTyped(); });
}

void CStaticHalvixWindow::ApplyType(int type) {
    for (int id : D::kSizeFields)
        Control(id)->setEnabled(D::Uses(type, id));
}

void CStaticHalvixWindow::OnTypeTyped() {
    if (m_settingText)
        return;
    m_settingText = true;
    m_type->setCurrentIndex(-1);
    m_type->setEditText(QString::fromUtf16(D::kTypedText));
    m_settingText = false;
    ApplyType(-1);
    Control(D::kCentreX)->setFocus();
}

void CStaticHalvixWindow::accept() {
    // In the order of the data exchange; the ranges hold for every field, used or not.
    CDlgStaticHalvix f;
    if (!GetFloat(D::kLength, f.m_length, D::kMinSize, D::kMaxSize) ||
        !GetFloat(D::kWidth, f.m_width, D::kMinSize, D::kMaxSize) ||
        !GetFloat(D::kHeight, f.m_height, D::kMinSize, D::kMaxSize) ||
        !GetInt(D::kSideCount, f.m_sideCount, D::kMinSides, D::kMaxSides) ||
        !GetFloat(D::kRadius, f.m_radius, D::kMinSize, D::kMaxSize) ||
        !GetFloat(D::kRatio, f.m_ratio, D::kMinSize, D::kMaxSize) || !GetFloat(D::kCentreX, f.m_centreX) ||
        !GetFloat(D::kCentreY, f.m_centreY) || !GetFloat(D::kCentreZ, f.m_centreZ) ||
        !GetFloat(D::kAxisX, f.m_axisX) || !GetFloat(D::kAxisY, f.m_axisY) || !GetFloat(D::kAxisZ, f.m_axisZ))
        return;
    m_fields.m_length = f.m_length;
    m_fields.m_width = f.m_width;
    m_fields.m_height = f.m_height;
    m_fields.m_sideCount = f.m_sideCount;
    m_fields.m_radius = f.m_radius;
    m_fields.m_ratio = f.m_ratio;
    m_fields.m_centreX = f.m_centreX;
    m_fields.m_centreY = f.m_centreY;
    m_fields.m_centreZ = f.m_centreZ;
    m_fields.m_axisX = f.m_axisX;
    m_fields.m_axisY = f.m_axisY;
    m_fields.m_axisZ = f.m_axisZ;
    m_fields.m_type = m_type->currentIndex();
    QDialog::accept();
}

INT_PTR HxShowStaticHalvixDialog(CDialog& dialog) {
    auto* fields = dynamic_cast<CDlgStaticHalvix*>(&dialog);
    if (!fields)
        return IDCANCEL;
    CStaticHalvixWindow window(*fields, QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgStaticHalvix), HxShowStaticHalvixDialog);
    return true;
}();
} // namespace
