// The iteration and trace dialog windows: layouts, the mapping controls of "构造迭代", the changes
// "迭代属性" applies at once, the list and range of "形迹属性", and their registration as presenters.
#include "app/iterate_dialogs_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

QPushButton* PlainButton(const char16_t* text, QWidget* parent) {
    auto* button = new QPushButton(Text(text), parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// 构造迭代

CIterateWindow::CIterateWindow(CDlgIterate& fields, QWidget* parent)
    : CHxExchangeDialog(u"构造迭代", parent), m_fields(fields) {
    using D = CDlgIterate;
    auto* layout = new QVBoxLayout(this);

    auto* mappingRow = new QHBoxLayout;
    mappingRow->addWidget(new QLabel(Text(u"当前映射："), this));
    m_mappings = Add(D::kMappingList, new QComboBox(this));
    mappingRow->addWidget(m_mappings, 1);
    auto* add = Add(D::kAddMapping, PlainButton(u"增加映射", this));
    auto* remove = Add(D::kDeleteMapping, PlainButton(u"删除映射", this));
    mappingRow->addWidget(add);
    mappingRow->addWidget(remove);
    layout->addLayout(mappingRow);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(Text(u"原象"), this), 0, 0);
    lists->addWidget(new QLabel(Text(u"映象"), this), 0, 1);
    m_sources = Add(D::kSourceList, new QComboBox(this));
    m_images = Add(D::kImageList, new QComboBox(this));
    for (const CDlgIterate::CEntry& e : fields.m_sources)
        m_sources->addItem(e.name.ToQString(), int(e.id));
    for (const CDlgIterate::CEntry& e : fields.m_images)
        m_images->addItem(e.name.ToQString(), int(e.id));
    lists->addWidget(m_sources, 1, 0);
    lists->addWidget(m_images, 1, 1);
    layout->addLayout(lists);

    m_table = Add(D::kTable, new QListWidget(this));
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(m_table);

    auto* depthRow = new QHBoxLayout;
    depthRow->addWidget(new QLabel(Text(u"迭代深度："), this));
    depthRow->addWidget(AddNumberEdit(D::kDepthEdit, QString::number(fields.m_depth)));
    auto* spin = Add(D::kDepthSpin, new QWidget(this));
    auto* spinLayout = new QVBoxLayout(spin);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->setSpacing(0);
    auto* up = new QToolButton(spin);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(spin);
    down->setArrowType(Qt::DownArrow);
    spinLayout->addWidget(up);
    spinLayout->addWidget(down);
    depthRow->addWidget(spin);
    depthRow->addStretch(1);
    layout->addLayout(depthRow);
    AddOkCancel(layout);

    FillMappings();
    Refresh();

    connect(m_sources, QOverload<int>::of(&QComboBox::activated), this,
            [this](int row) { ChooseSource(row); });
    connect(m_images, QOverload<int>::of(&QComboBox::activated), this, [this](int row) { ChooseImage(row); });
    connect(m_mappings, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { ChooseMapping(index); });
    connect(add, &QAbstractButton::clicked, this, [this] { AddMapping(); });
    connect(remove, &QAbstractButton::clicked, this, [this] { DeleteMapping(); });
    connect(up, &QAbstractButton::clicked, this, [this] { StepDepth(1); });
    connect(down, &QAbstractButton::clicked, this, [this] { StepDepth(-1); });
}

void CIterateWindow::FillMappings() {
    const QSignalBlocker block(m_mappings);
    m_mappings->clear();
    for (int i = 1; i <= m_fields.MappingCount(); ++i)
        m_mappings->addItem(CDlgIterate::MappingName(i).ToQString());
    m_mappings->setCurrentIndex(m_fields.m_currentMapping);
}

void CIterateWindow::Refresh() {
    m_table->clear();
    for (const CString& line : m_fields.TableLines())
        m_table->addItem(line.ToQString());
    {
        const QSignalBlocker blockSources(m_sources);
        m_sources->setCurrentIndex(m_fields.m_currentSource);
        const QSignalBlocker blockImages(m_images);
        m_images->setCurrentIndex(m_fields.m_imageChoice);
        const QSignalBlocker blockMappings(m_mappings);
        m_mappings->setCurrentIndex(m_fields.m_currentMapping);
    }
    if (QAbstractButton* ok = Button(IDOK))
        ok->setEnabled(m_fields.m_okEnabled);
}

void CIterateWindow::ChooseSource(int row) {
    if (row >= 0 && row < m_fields.m_sourceCount)
        m_fields.m_currentSource = row;
    Refresh();
}

void CIterateWindow::ChooseImage(int row) {
    m_fields.ChooseImage(row);
    m_fields.m_imageChoice = -1;
    Refresh();
}

void CIterateWindow::ChooseMapping(int index) {
    m_fields.ChooseMapping(index);
    Refresh();
}

void CIterateWindow::AddMapping() {
    if (m_fields.AddMapping())
        FillMappings();
    Refresh();
}

void CIterateWindow::DeleteMapping() {
    if (m_fields.DeleteMapping())
        FillMappings();
    Refresh();
}

void CIterateWindow::StepDepth(int delta) {
    int depth = 0;
    if (!ParseInt(Edit(CDlgIterate::kDepthEdit)->text(), depth))
        depth = m_fields.m_depth;
    depth = std::clamp(depth + delta, 0, 1000);
    Edit(CDlgIterate::kDepthEdit)->setText(QString::number(depth));
}

void CIterateWindow::accept() {
    int depth = 0;
    if (!m_fields.m_okEnabled || !GetInt(CDlgIterate::kDepthEdit, depth, 0, 1000))
        return;
    m_fields.m_depth = depth;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// 迭代属性

CPropertyIterateWindow::CPropertyIterateWindow(CDlgPropertyIterate& fields, QWidget* parent)
    : CHxExchangeDialog(u"迭代属性", parent), m_fields(fields) {
    using D = CDlgPropertyIterate;
    auto* layout = new QVBoxLayout(this);

    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(new QLabel(Text(u"标签："), this));
    auto* label = Add(D::kLabel, new QLineEdit(fields.m_label.ToQString(), this));
    labelRow->addWidget(label, 1);
    layout->addLayout(labelRow);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(Text(u"创建下列所选\n对象的象："), this), 0, 0, Qt::AlignTop);
    m_created = Add(D::kCreatedList, new QListWidget(this));
    for (const CDlgPropertyIterate::CRow& row : fields.m_rows) {
        auto* item = new QListWidgetItem(row.name.ToQString(), m_created);
        item->setData(Qt::UserRole, int(row.id));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
    }
    lists->addWidget(m_created, 0, 1);
    lists->addWidget(new QLabel(Text(u"迭代\n规则："), this), 1, 0, Qt::AlignTop);
    auto* rules = Add(D::kRules, new QListWidget(this));
    rules->setSelectionMode(QAbstractItemView::NoSelection);
    for (const CString& line : fields.m_rules)
        rules->addItem(line.ToQString());
    lists->addWidget(rules, 1, 1);
    layout->addLayout(lists);

    auto* checks = new QHBoxLayout;
    m_showTable = Add(D::kShowTable, new QCheckBox(Text(u"显示数据表"), this));
    m_showFull = Add(D::kShowFull, new QCheckBox(Text(u"显示完整迭代"), this));
    m_solidOnly = Add(D::kSolidOnly, new QCheckBox(Text(u"仅显示实线"), this));
    checks->addWidget(m_showTable);
    checks->addWidget(m_showFull);
    checks->addWidget(m_solidOnly);
    layout->addLayout(checks);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(Text(u"颜色"), this));
    m_colorMode = new QButtonGroup(this);
    const int colorIds[3] = {D::kColorMode, D::kColorMode + 2, D::kColorMode + 3};
    const char16_t* colorTexts[3] = {u"使用原像颜色", u"不同深度异色", u"图元自身颜色"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = Add(colorIds[i], new QRadioButton(Text(colorTexts[i]), this));
        m_colorMode->addButton(radio, i);
        colorRow->addWidget(radio);
    }
    layout->addLayout(colorRow);

    auto* depthRow = new QHBoxLayout;
    auto* depthLabel = Add(D::kDepthLabel, new QLabel(Text(u"迭代深度："), this));
    depthRow->addWidget(depthLabel);
    auto* depth = AddNumberEdit(D::kDepthEdit, QString::number(fields.m_depth));
    depthRow->addWidget(depth);
    depthRow->addStretch(1);
    layout->addLayout(depthRow);
    if (fields.m_depthFromValue) {
        depthLabel->setText(Text(CDlgPropertyIterate::kDepthFromValueLabel));
        depth->setReadOnly(true);
    }
    m_lastDepth = depth->text();
    AddOkCancel(layout);
    SyncChecks();
    SetRadioIndex(m_colorMode, fields.m_colorMode);

    connect(label, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_fields.SetLabel(CString::FromQString(text)); });
    connect(m_created, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_fields.SetChecked(m_created->row(item), item->checkState() == Qt::Checked);
    });
    connect(m_showTable, &QCheckBox::clicked, this, [this](bool on) {
        m_fields.SetShowTable(on);
        SyncChecks();
    });
    connect(m_solidOnly, &QCheckBox::clicked, this, [this](bool on) {
        m_fields.SetSolidOnly(on);
        SyncChecks();
    });
    connect(m_showFull, &QCheckBox::clicked, this, [this](bool on) { m_fields.SetShowFull(on); });
    connect(m_colorMode, &QButtonGroup::idClicked, this, [this](int mode) { m_fields.SetColorMode(mode); });
    connect(depth, &QLineEdit::editingFinished, this, [this] { ApplyDepth(); });
}

void CPropertyIterateWindow::SyncChecks() {
    const QSignalBlocker a(m_showTable), b(m_showFull), c(m_solidOnly);
    m_showTable->setChecked(m_fields.m_showTable);
    m_showFull->setChecked(m_fields.m_showFull);
    m_solidOnly->setChecked(m_fields.m_solidOnly);
}

void CPropertyIterateWindow::ApplyDepth() {
    QLineEdit* edit = Edit(CDlgPropertyIterate::kDepthEdit);
    if (!edit || edit->isReadOnly() || edit->text() == m_lastDepth)
        return;
    int depth = 0;
    if (!GetInt(CDlgPropertyIterate::kDepthEdit, depth, 0, 1000))
        return;
    m_lastDepth = edit->text();
    m_fields.SetDepth(depth);
}

void CPropertyIterateWindow::accept() {
    QLineEdit* edit = Edit(CDlgPropertyIterate::kDepthEdit);
    if (edit && !edit->isReadOnly() && edit->text() != m_lastDepth) {
        int depth = 0;
        if (!GetInt(CDlgPropertyIterate::kDepthEdit, depth, 0, 1000))
            return;
        m_lastDepth = edit->text();
        m_fields.SetDepth(depth);
    }
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// 形迹属性

CTrackWindow::CTrackWindow(CDlgTrack& fields, QWidget* parent)
    : CHxExchangeDialog(fields.Title(), parent), m_fields(fields) {
    using D = CDlgTrack;
    auto* layout = new QVBoxLayout(this);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(new QLabel(Text(u"创建下列所选\n对象的形迹："), this), 0, Qt::AlignTop);
    m_list = Add(D::kList, new QListWidget(this));
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int row = 0; row < int(fields.m_entries.size()); ++row) {
        auto* item = new QListWidgetItem(fields.m_entries[size_t(row)].text.ToQString(), m_list);
        item->setSelected(fields.IsTraced(row));
    }
    listRow->addWidget(m_list, 1);
    layout->addLayout(listRow);

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(Text(u"主动点参数范围："), this));
    range->addWidget(AddNumberEdit(D::kStart, fields.m_start));
    range->addWidget(new QLabel(Text(u"，"), this));
    range->addWidget(AddNumberEdit(D::kEnd, fields.m_end));
    layout->addLayout(range);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(Text(u"精度（参数增减步长）："), this));
    stepRow->addWidget(AddNumberEdit(D::kStep, fields.m_step));
    layout->addLayout(stepRow);
    auto* dynamic = Add(D::kDynamic, new QCheckBox(Text(u"使用2个动态参数"), this));
    dynamic->setChecked(fields.m_dynamic);
    dynamic->setEnabled(false);
    layout->addWidget(dynamic);

    auto* modes = new QHBoxLayout;
    m_colorMode = new QButtonGroup(this);
    auto* own = Add(D::kOwnColors, new QRadioButton(Text(u"使用原形颜色"), this));
    auto* traceColor = Add(D::kTraceColor, new QRadioButton(Text(u"形迹自身颜色"), this));
    m_colorMode->addButton(own, 0);
    m_colorMode->addButton(traceColor, 1);
    auto* colorBox = new QVBoxLayout;
    colorBox->addWidget(own);
    colorBox->addWidget(traceColor);
    modes->addLayout(colorBox);
    m_displayMode = new QButtonGroup(this);
    auto* displayBox = new QVBoxLayout;
    const int displayIds[3] = {D::kSolidMode, D::kAutoDashed, D::kShowAll};
    const char16_t* displayTexts[3] = {u"实线模式", u"虚实自动", u"全部显示"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = Add(displayIds[i], new QRadioButton(Text(displayTexts[i]), this));
        m_displayMode->addButton(radio, i);
        displayBox->addWidget(radio);
    }
    modes->addLayout(displayBox);
    layout->addLayout(modes);
    AddOkCancel(layout);
    SetRadioIndex(m_colorMode, fields.m_colorMode);
    SetRadioIndex(m_displayMode, fields.m_displayMode);

    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        for (int row = 0; row < m_list->count(); ++row)
            m_fields.SetTraced(row, m_list->item(row)->isSelected());
    });
}

void CTrackWindow::accept() {
    using D = CDlgTrack;
    float start = 0.0f, end = 0.0f, step = 0.0f;
    if (!GetFloat(D::kStart, start) || !GetFloat(D::kEnd, end) || !GetFloat(D::kStep, step))
        return;
    if (!CDlgTrack::StepAcceptable(start, end, step)) {
        AfxMessageBox(CDlgTrack::kStepMessage, MB_OK | MB_ICONEXCLAMATION);
        Edit(D::kStep)->setFocus();
        Edit(D::kStep)->selectAll();
        return;
    }
    m_fields.m_start = start;
    m_fields.m_end = end;
    m_fields.m_step = step;
    m_fields.m_colorMode = std::max(0, RadioIndex(m_colorMode));
    m_fields.m_displayMode = std::max(0, RadioIndex(m_displayMode));
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Presenters

INT_PTR HxShowIterateDialog(CDialog& dialog) {
    return Run<CIterateWindow, CDlgIterate>(dialog);
}

INT_PTR HxShowPropertyIterateDialog(CDialog& dialog) {
    return Run<CPropertyIterateWindow, CDlgPropertyIterate>(dialog);
}

INT_PTR HxShowTrackDialog(CDialog& dialog) {
    return Run<CTrackWindow, CDlgTrack>(dialog);
}

namespace {
const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgIterate), HxShowIterateDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyIterate), HxShowPropertyIterateDialog);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTrack), HxShowTrackDialog);
    return true;
}();
} // namespace
