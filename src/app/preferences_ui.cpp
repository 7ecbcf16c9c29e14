// The preferences window: its layout, the presets, the light editor, "立即修改", and the preferences
// service installed for the view.
#include "app/preferences_ui.h"

#include "app/color_picker.h"
#include "app/dialog_window.h"
#include "app/format_toolbar.h"
#include "app/light_editors.h"
#include "document/halvix_doc.h"
#include "view/halvix_view.h"
#include "view/view_globals.h"
#include "view/view_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Text;

QComboBox* SizeCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    for (const char16_t* size : CDlgPreferonces::kSizes)
        combo->addItem(Text(size));
    return combo;
}

CHalvixView* DrawingView() {
    return dynamic_cast<CHalvixView*>(HxDrawingViewWindow());
}

} // namespace

CPreferencesWindow::CPreferencesWindow(CDlgPreferonces& fields, CHalvixView* view, QWidget* parent)
    : CHxExchangeDialog(CString(u"首选项"), parent), m_fields(fields), m_view(view) {
    using D = CDlgPreferonces;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(u"注意： 这些设置是全局的，对新建的对象均有效"), this));

    auto* colors = new QGroupBox(Text(u"颜色"), this);
    auto* colorGrid = new QGridLayout(colors);
    for (int i = 0; i < D::kColorCount; ++i) {
        m_colors[i] = Add(D::kColorButtons[i], new CColorPicker(colors));
        const int row = i / 5, column = (i % 5) * 2;
        colorGrid->addWidget(new QLabel(Text(D::kColorNames[i]), colors), row, column, Qt::AlignRight);
        colorGrid->addWidget(m_colors[i], row, column + 1);
    }
    layout->addWidget(colors);

    auto* fonts = new QGroupBox(Text(u"字体"), this);
    auto* fontGrid = new QGridLayout(fonts);
    m_labelFont = Add(D::kLabelFontCombo, new CFontComboBox(fonts));
    m_labelSize = Add(D::kLabelSizeCombo, SizeCombo(fonts));
    m_measureFont = Add(D::kMeasureFontCombo, new CFontComboBox(fonts));
    m_measureSize = Add(D::kMeasureSizeCombo, SizeCombo(fonts));
    m_labelFont->FillFontList(fields.m_labelFontName, 8);
    m_measureFont->FillFontList(fields.m_measureFontName, 8);
    fontGrid->addWidget(new QLabel(Text(u"标签："), fonts), 0, 0);
    fontGrid->addWidget(m_labelFont, 0, 1);
    fontGrid->addWidget(new QLabel(Text(u"字号："), fonts), 0, 2);
    fontGrid->addWidget(m_labelSize, 0, 3);
    fontGrid->addWidget(new QLabel(Text(u"度量："), fonts), 1, 0);
    fontGrid->addWidget(m_measureFont, 1, 1);
    fontGrid->addWidget(new QLabel(Text(u"字号："), fonts), 1, 2);
    fontGrid->addWidget(m_measureSize, 1, 3);
    fontGrid->setColumnStretch(1, 1);
    layout->addWidget(fonts);

    auto* sizes = new QHBoxLayout;
    sizes->addWidget(new QLabel(Text(u"线宽度："), this));
    sizes->addWidget(AddNumberEdit(D::kLineWidthEdit, fields.m_lineWidth));
    sizes->addWidget(new QLabel(Text(u"点大小："), this));
    sizes->addWidget(AddNumberEdit(D::kPointSizeEdit, fields.m_pointSize));
    auto* rate = new QGroupBox(Text(u"帧频"), this);
    auto* rateRow = new QHBoxLayout(rate);
    rateRow->addWidget(AddNumberEdit(D::kFpsEdit, QString::number(fields.m_fps)));
    rateRow->addWidget(new QLabel(Text(u"帧/秒"), rate));
    sizes->addWidget(rate);
    sizes->addStretch(1);
    layout->addLayout(sizes);

    layout->addWidget(AddCheck(D::kNoDoubleClickCheck, u"禁用鼠标双击命令", fields.m_disableDoubleClick));
    layout->addWidget(AddCheck(D::kScreenRotationCheck, u"拖动鼠标旋转视图时以屏幕为参照系",
                               fields.m_rotateRelativeToScreen));

    auto* presets = new QGroupBox(Text(u"预置方案"), this);
    auto* presetRow = new QHBoxLayout(presets);
    for (int i = 0; i < D::kPresetCount; ++i) {
        auto* button = Add(D::kPresetButtons[i], new QPushButton(Text(D::kPresetNames[i]), presets));
        presetRow->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] { OnPreset(i); });
    }
    layout->addWidget(presets);

    auto* bottom = new QHBoxLayout;
    auto* light = Add(D::kLightButton, new QPushButton(Text(u"设置灯光属性"), this));
    connect(light, &QPushButton::clicked, this, [this] { OnLight(); });
    bottom->addWidget(light);
    auto* change = new QGroupBox(Text(u"修改"), this);
    auto* changeRow = new QHBoxLayout(change);
    auto* now = Add(D::kApplyNowButton, new QPushButton(Text(u"立即修改"), change));
    connect(now, &QPushButton::clicked, this, [this] { OnApplyNow(); });
    changeRow->addWidget(now);
    changeRow->addWidget(AddCheck(D::kCurrentPageCheck, u"仅当前页对象", fields.m_currentPageOnly));
    bottom->addWidget(change);
    layout->addLayout(bottom);
    AddOkCancel(layout);
    Button(IDOK)->setText(Text(u"确       定"));
    Button(IDCANCEL)->setText(Text(u"关       闭"));
    FillControls();
}

void CPreferencesWindow::FillControls() {
    using D = CDlgPreferonces;
    for (int i = 0; i < D::kColorCount; ++i)
        m_colors[i]->SetColor(m_fields.m_colors[i]);
    m_labelFont->SelectFontName(m_fields.m_labelFontName);
    m_measureFont->SelectFontName(m_fields.m_measureFontName);
    m_labelSize->setCurrentText(m_fields.m_labelSize.ToQString());
    m_measureSize->setCurrentText(m_fields.m_measureSize.ToQString());
    SetFloat(D::kLineWidthEdit, m_fields.m_lineWidth);
    SetFloat(D::kPointSizeEdit, m_fields.m_pointSize);
    Edit(D::kFpsEdit)->setText(QString::number(m_fields.m_fps));
    qobject_cast<QCheckBox*>(Control(D::kCurrentPageCheck))->setChecked(m_fields.m_currentPageOnly != FALSE);
    qobject_cast<QCheckBox*>(Control(D::kNoDoubleClickCheck))
        ->setChecked(m_fields.m_disableDoubleClick != FALSE);
    qobject_cast<QCheckBox*>(Control(D::kScreenRotationCheck))
        ->setChecked(m_fields.m_rotateRelativeToScreen != FALSE);
}

bool CPreferencesWindow::ReadControls() {
    using D = CDlgPreferonces;
    float lineWidth = m_fields.m_lineWidth, pointSize = m_fields.m_pointSize;
    int fps = m_fields.m_fps;
    if (!GetEditedFloat(D::kLineWidthEdit, lineWidth, D::kMinLineWidth, D::kMaxLineWidth) ||
        !GetEditedFloat(D::kPointSizeEdit, pointSize, D::kMinPointSize, D::kMaxPointSize) ||
        !GetInt(D::kFpsEdit, fps, D::kMinFps, D::kMaxFps))
        return false;
    m_fields.m_lineWidth = lineWidth;
    m_fields.m_pointSize = pointSize;
    m_fields.m_fps = fps;
    for (int i = 0; i < D::kColorCount; ++i)
        m_fields.m_colors[i] = m_colors[i]->GetColor();
    m_fields.m_labelFontName = m_labelFont->CurrentFace();
    m_fields.m_measureFontName = m_measureFont->CurrentFace();
    m_fields.m_labelSize = CString::FromQString(m_labelSize->currentText());
    m_fields.m_measureSize = CString::FromQString(m_measureSize->currentText());
    m_fields.m_currentPageOnly = Checked(D::kCurrentPageCheck);
    m_fields.m_disableDoubleClick = Checked(D::kNoDoubleClickCheck);
    m_fields.m_rotateRelativeToScreen = Checked(D::kScreenRotationCheck);
    return true;
}

void CPreferencesWindow::accept() {
    if (ReadControls())
        QDialog::accept();
}

void CPreferencesWindow::OnPreset(int preset) {
    if (!ReadControls())
        return;
    m_fields.ApplyPreset(preset);
    FillControls();
}

void CPreferencesWindow::OnLight() {
    CLightEditor editor(m_view, this);
    editor.DoModal();
    FillControls();
}

void CPreferencesWindow::OnApplyNow() {
    if (!ReadControls())
        return;
    m_fields.ApplySettings();
    if (m_fields.m_fontsChanged && m_view && m_view->MakeContextCurrent()) {
        m_view->BuildFontLists();
        m_view->BuildCaptionFontLists();
    }
    m_fields.m_fontsChanged = 0;
    g_traceImageEmpty = 1;
    CHalvixDoc* doc = m_doc ? m_doc : m_view ? m_view->GetDocument() : nullptr;
    if (doc) {
        doc->ApplyBackgroundColor(m_fields.m_currentPageOnly);
        doc->RefreshAllPages();
    }
    if (m_view)
        m_view->RenderScene();
}

int HxRunPreferences() {
    CDlgPreferonces dlg;
    dlg.OnInitDialog();
    if (dlg.DoModal() != IDOK)
        return 0;
    dlg.ApplySettings();
    return dlg.m_fontsChanged ? 2 : 1;
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPreferonces), [](CDialog& dialog) -> INT_PTR {
        auto* fields = dynamic_cast<CDlgPreferonces*>(&dialog);
        if (!fields)
            return IDCANCEL;
        CPreferencesWindow window(*fields, DrawingView(), QApplication::activeWindow());
        return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
    HxGetViewServices().runPreferences = HxRunPreferences;
    return true;
}();
} // namespace
