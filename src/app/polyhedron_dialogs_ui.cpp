// The hull, net and cut dialog windows: their layouts, opening rules and data exchange, and their
// registration as the presenters of the dialog classes.
#include "app/polyhedron_dialogs_ui.h"

#include "app/dialog_window.h"
#include "solids/hull_presets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

} // namespace

void CPolyhedronWindowBase::AddCommonControls(QBoxLayout* layout, const CString& label, int style,
                                              BOOL hidden) {
    using D = CPolyhedronDialogIds;
    layout->addWidget(
        AddRadioGroup(D::kStyleRadio, u"显示方式", {u"自动虚实", u"仅实线", u"光照处理"}, style));
    m_style = Group(D::kStyleRadio);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(u"标签："), this));
    row->addWidget(Add(D::kLabelEdit, new QLineEdit(label.ToQString(), this)));
    m_hidden = Add(D::kHiddenCheck, new QCheckBox(Text(u"隐藏对象"), this));
    m_hidden->setChecked(hidden != FALSE);
    row->addWidget(m_hidden);
    layout->addLayout(row);
}

void CPolyhedronWindowBase::ReadCommonControls(CString& label, int& style, BOOL& hidden) const {
    label = CString::FromQString(Edit(CPolyhedronDialogIds::kLabelEdit)->text());
    style = RadioIndex(m_style);
    hidden = m_hidden->isChecked() ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Hull

CPolyhedronWindow::CPolyhedronWindow(CDlgPolyhedron& fields, QWidget* parent)
    : CPolyhedronWindowBase(fields.Title(), parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(u"凸包：包围点集的最小凸多面体"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(u"顶点集："), this));
    m_vertexSet = Add(CDlgPolyhedron::kVertexSetList, new QComboBox(this));
    for (const char16_t* name : g_hullPresetNames)
        m_vertexSet->addItem(Text(name));
    m_vertexSet->setCurrentIndex(fields.m_vertexSet);
    m_vertexSet->setEnabled(fields.m_building);
    row->addWidget(m_vertexSet, 1);
    layout->addLayout(row);
    AddCommonControls(layout, fields.m_label, fields.m_style, fields.m_hidden);
    AddOkCancel(layout);
}

void CPolyhedronWindow::accept() {
    ReadCommonControls(m_fields.m_label, m_fields.m_style, m_fields.m_hidden);
    m_fields.m_vertexSet = m_vertexSet->currentIndex();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Net

CFoldWindow::CFoldWindow(CDlgFold& fields, QWidget* parent)
    : CPolyhedronWindowBase(CDlgFold::Title(), parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        AddRadioGroup(CDlgFold::kUnfoldRadio, u"展开方式", {u"同时展开", u"分级展开"}, fields.m_unfoldMode));
    m_unfold = Group(CDlgFold::kUnfoldRadio);
    AddCommonControls(layout, fields.m_label, fields.m_style, fields.m_hidden);
    AddOkCancel(layout);
}

void CFoldWindow::accept() {
    ReadCommonControls(m_fields.m_label, m_fields.m_style, m_fields.m_hidden);
    m_fields.m_unfoldMode = RadioIndex(m_unfold);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Cut

CSplitWindow::CSplitWindow(CDlgSplit& fields, QWidget* parent)
    : CPolyhedronWindowBase(fields.Title(), parent), m_fields(fields) {
    using D = CDlgSplit;
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(u"切割面个数(1-10):"), this), 0, 0);
    QLineEdit* count = AddNumberEdit(D::kCountEdit, QString::number(fields.m_planeCount));
    count->setReadOnly(!fields.CountEditable());
    grid->addWidget(count, 0, 1, Qt::AlignLeft);
    grid->addWidget(AddDescription(D::kNoteEdit, fields.m_note), 1, 0, 1, 2);
    grid->addWidget(new QLabel(Text(u"切割后平移量:"), this), 2, 0);
    grid->addWidget(AddNumberEdit(D::kShiftEdit, DoubleText(fields.m_shift)), 2, 1, Qt::AlignLeft);
    layout->addLayout(grid);
    AddCommonControls(layout, fields.m_label, fields.m_style, fields.m_hidden);
    AddOkCancel(layout);
}

void CSplitWindow::accept() {
    using D = CDlgSplit;
    int count = m_fields.m_planeCount;
    double shift = 0.0;
    if (m_fields.CountEditable() && !GetInt(D::kCountEdit, count, D::kMinPlanes, D::kMaxPlanes))
        return;
    if (!GetDouble(D::kShiftEdit, shift))
        return;
    m_fields.m_planeCount = count;
    m_fields.m_shift = shift;
    ReadCommonControls(m_fields.m_label, m_fields.m_style, m_fields.m_hidden);
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowPolyhedronDialog(CDialog& dialog) {
    return Run<CPolyhedronWindow, CDlgPolyhedron>(dialog);
}

INT_PTR HxShowFoldDialog(CDialog& dialog) {
    return Run<CFoldWindow, CDlgFold>(dialog);
}

INT_PTR HxShowSplitDialog(CDialog& dialog) {
    return Run<CSplitWindow, CDlgSplit>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPolyhedron), HxShowPolyhedronDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgFold), HxShowFoldDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgSplit), HxShowSplitDialog);
    return true;
}();
} // namespace
