// The document-option, weight, table, command-button, formula-label and texture dialog windows:
// their layouts, rules and data exchange, and their registration as presenters.
#include "app/option_dialogs_ui.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

QHBoxLayout* Row(QWidget* owner, const char16_t* label, QWidget* field) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(Text(label), owner));
    row->addWidget(field, 1);
    return row;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Document options

CPageOptionsWindow::CPageOptionsWindow(CDlgPage& fields, QWidget* parent)
    : CHxExchangeDialog(u"文档选项", parent), m_fields(fields) {
    using D = CDlgPage;
    auto* layout = new QVBoxLayout(this);
    m_pages = Add(D::kPageList, new QListWidget(this));
    for (const CString& title : fields.m_pageTitles)
        m_pages->addItem(title.ToQString());
    if (m_pages->count() > 0)
        m_pages->setCurrentRow(std::clamp(fields.m_selectedPage, 0, m_pages->count() - 1));
    layout->addWidget(m_pages);
    auto* author = Add(D::kAuthor, new QLineEdit(fields.m_author.ToQString(), this));
    author->setReadOnly(true);
    layout->addLayout(Row(this, u"作者：", author));
    layout->addWidget(new QLabel(Text(u"说明："), this));
    m_description = Add(D::kDescription, new QPlainTextEdit(fields.m_description.ToQString(), this));
    layout->addWidget(m_description);
    auto* rename = Add(D::kRenamePages, new QCheckBox(Text(u"页名称按序自动重命名"), this));
    rename->setChecked(fields.m_renamePages != FALSE);
    layout->addWidget(rename);
    auto* store = Add(D::kStoreFormulaGraphics, new QCheckBox(Text(u"将MTF文本加存图形数据"), this));
    store->setChecked(fields.m_storeFormulaGraphics != FALSE);
    layout->addWidget(store);
    layout->addWidget(new QLabel(Text(u"选此则文件较大，但能在缺少所需字体的电脑中正常显示。"), this));
    // The only button; closing the window cancels.
    auto* ok = Add(IDOK, new QPushButton(Text(u"确定"), this));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

void CPageOptionsWindow::accept() {
    m_fields.m_description = CString::FromQString(m_description->toPlainText());
    m_fields.m_renamePages = Button(CDlgPage::kRenamePages)->isChecked() ? TRUE : FALSE;
    m_fields.m_storeFormulaGraphics = Button(CDlgPage::kStoreFormulaGraphics)->isChecked() ? TRUE : FALSE;
    m_fields.m_selectedPage = m_pages->currentRow();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Weight

CWeightWindow::CWeightWindow(CDlgWeight& fields, QWidget* parent)
    : CHxExchangeDialog(u"线宽、点大小、值精度", parent), m_fields(fields) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(u"为选中的图元设置线宽、点大小或度量值显示的精度："), this));
    layout->addWidget(AddNumberEdit(CDlgWeight::kValue, fields.m_value));
    layout->addWidget(new QLabel(Text(u"点大小：     0.5-12            线（圆）宽度：    0.5-20"), this));
    layout->addWidget(
        new QLabel(Text(u"度量值精度：  精确到 1，0.1，0.01（默认），0.001，0.0001，0.00001"), this));
    AddOkCancel(layout);
    Edit(CDlgWeight::kValue)->selectAll();
}

void CWeightWindow::accept() {
    float value = 0.0f;
    if (!GetFloat(CDlgWeight::kValue, value, CDlgWeight::kMin, CDlgWeight::kMax))
        return;
    m_fields.m_value = value;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Table

CTableWindow::CTableWindow(CDlgTable& fields, QWidget* parent)
    : CHxExchangeDialog(u"添加表格", parent), m_fields(fields) {
    using D = CDlgTable;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(Row(this, u"行数：", AddNumberEdit(D::kRows, QString::number(fields.m_rows))));
    layout->addLayout(Row(this, u"列数：", AddNumberEdit(D::kColumns, QString::number(fields.m_columns))));
    layout->addWidget(new QLabel(Text(u"请在二维图模式下使用"), this));
    AddOkCancel(layout);
}

void CTableWindow::accept() {
    using D = CDlgTable;
    int rows = 0, columns = 0;
    if (!GetInt(D::kRows, rows, D::kMinCount, D::kMaxCount) ||
        !GetInt(D::kColumns, columns, D::kMinCount, D::kMaxCount))
        return;
    m_fields.m_rows = rows;
    m_fields.m_columns = columns;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Command button

CCmdBtnWindow::CCmdBtnWindow(CDlgCmdBtn& fields, QWidget* parent)
    : CHxExchangeDialog(u"命令按钮", parent), m_fields(fields) {
    using D = CDlgCmdBtn;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(
        Row(this, u"按钮标签：", Add(D::kCaption, new QLineEdit(fields.m_caption.ToQString(), this))));
    layout->addLayout(
        Row(this, u"命令间延时(*0.04s)：", AddNumberEdit(D::kDelay, QString::number(fields.m_delay))));
    layout->addWidget(new QLabel(Text(u"备选命令     双击右移 =>          命令序列"), this));
    auto* lists = new QHBoxLayout;
    m_available = Add(D::kAvailable, new QListWidget(this));
    for (const CDlgCmdBtn::CCommand& command : CDlgCmdBtn::Available()) {
        auto* item = new QListWidgetItem(Text(command.name), m_available);
        item->setData(Qt::UserRole, command.id);
    }
    m_available->setCurrentRow(0);
    m_sequence = Add(D::kSequence, new QListWidget(this));
    lists->addWidget(m_available);
    lists->addWidget(m_sequence);
    auto* side = new QVBoxLayout;
    auto* up = Add(D::kUp, new QPushButton(Text(u"上移"), this));
    auto* down = Add(D::kDown, new QPushButton(Text(u"下移"), this));
    auto* remove = Add(D::kDelete, new QPushButton(Text(u"删除"), this));
    for (QPushButton* b : {up, down, remove})
        side->addWidget(b);
    side->addStretch(1);
    lists->addLayout(side);
    layout->addLayout(lists);
    AddOkCancel(layout);
    m_ok = qobject_cast<QPushButton*>(Button(IDOK));

    connect(m_available, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { AppendRow(m_available->row(item)); });
    connect(m_sequence, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row == m_fields.m_selected)
            return;
        m_fields.m_selected = row;
        Refresh();
    });
    connect(up, &QPushButton::clicked, this, [this] {
        m_fields.MoveUp();
        Refresh();
    });
    connect(down, &QPushButton::clicked, this, [this] {
        m_fields.MoveDown();
        Refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        m_fields.Delete();
        Refresh();
    });
    m_fields.SelectLast();
    Refresh();
}

void CCmdBtnWindow::AppendRow(int row) {
    m_fields.Append(row);
    Refresh();
}

void CCmdBtnWindow::Refresh() {
    using D = CDlgCmdBtn;
    const QSignalBlocker block(m_sequence);
    m_sequence->clear();
    for (int id : m_fields.m_sequence) {
        auto* item = new QListWidgetItem(D::CommandName(id).ToQString(), m_sequence);
        item->setData(Qt::UserRole, id);
    }
    m_sequence->setCurrentRow(m_fields.m_selected);
    Button(D::kUp)->setEnabled(m_fields.CanMoveUp());
    Button(D::kDown)->setEnabled(m_fields.CanMoveDown());
    Button(D::kDelete)->setEnabled(m_fields.CanDelete());
    if (m_ok)
        m_ok->setEnabled(m_fields.CanAccept());
}

void CCmdBtnWindow::accept() {
    using D = CDlgCmdBtn;
    int delay = 0;
    if (!m_fields.CanAccept() || !GetInt(D::kDelay, delay, 0, 100000))
        return;
    m_fields.m_caption = CString::FromQString(Edit(D::kCaption)->text());
    m_fields.m_delay = delay;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Formula label

CLabelMtfWindow::CLabelMtfWindow(CDlgLabelMtf& fields, QWidget* parent)
    : CHxExchangeDialog(u"标签属性", parent), m_fields(fields) {
    using D = CDlgLabelMtf;
    auto* layout = new QVBoxLayout(this);
    auto* formatBox = new QGroupBox(this);
    auto* formats = new QHBoxLayout(formatBox);
    auto* asText = Add(D::kTextFormat, new QRadioButton(Text(u"文本格式"), formatBox));
    auto* asFormula = Add(D::kMathFormat, new QRadioButton(Text(u"数学格式"), formatBox));
    formats->addWidget(asText);
    formats->addWidget(asFormula);
    m_display = new QButtonGroup(this);
    m_display->addButton(asText, 0);
    m_display->addButton(asFormula, 1);
    layout->addWidget(formatBox);

    auto* typeBox = new QGroupBox(this);
    auto* types = new QHBoxLayout(typeBox);
    auto* automatic = Add(D::kAutoLabel, new QRadioButton(Text(u"自动标签"), typeBox));
    auto* custom = Add(D::kCustomLabel, new QRadioButton(Text(u"自定义标签"), typeBox));
    types->addWidget(automatic);
    types->addWidget(custom);
    m_labelType = new QButtonGroup(this);
    m_labelType->addButton(automatic, 0);
    m_labelType->addButton(custom, 1);
    layout->addWidget(typeBox);

    auto* row = new QHBoxLayout;
    row->addWidget(Add(D::kName, new QLineEdit(fields.m_name.ToQString(), this)), 1);
    auto* edit = Add(D::kEdit, new QPushButton(Text(u"编辑"), this));
    row->addWidget(edit);
    layout->addLayout(row);
    AddOkCancel(layout);

    SetRadioIndex(m_display, fields.m_display == 1 ? 1 : 0);
    SetRadioIndex(m_labelType, fields.m_labelType == 1 ? 1 : 0);
    connect(m_display, &QButtonGroup::idClicked, this, [this](int) { ApplyRule(); });
    connect(m_labelType, &QButtonGroup::idClicked, this, [this](int) { ApplyRule(); });
    connect(edit, &QPushButton::clicked, this, [this] { m_fields.EditMarkup(); });
    ApplyRule();
}

void CLabelMtfWindow::ApplyRule() {
    m_fields.m_display = RadioIndex(m_display);
    m_fields.m_labelType = RadioIndex(m_labelType);
    Control(CDlgLabelMtf::kName)->setVisible(m_fields.ShowsName());
    Control(CDlgLabelMtf::kEdit)->setVisible(m_fields.ShowsEditButton());
}

void CLabelMtfWindow::accept() {
    ApplyRule();
    m_fields.m_name = CString::FromQString(Edit(CDlgLabelMtf::kName)->text());
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// Texture replacement

CReTextextWindow::CReTextextWindow(CDlgReTextext& fields, QWidget* parent)
    : CHxExchangeDialog(u"更换纹理图", parent), m_fields(fields) {
    using D = CDlgReTextext;
    auto* layout = new QVBoxLayout(this);
    m_texture = Add(D::kTextureNumber, new QComboBox(this));
    m_texture->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_texture->setCurrentIndex(std::clamp(fields.m_texture, 0, 2));
    layout->addLayout(Row(this, u"纹理号：", m_texture));
    auto* path = Add(D::kPath, new QLineEdit(fields.m_path.ToQString(), this));
    path->setReadOnly(true);
    layout->addLayout(Row(this, u"图像：", path));
    auto* buttons = new QHBoxLayout;
    auto* browse = Add(D::kBrowse, new QPushButton(Text(u"置换新图像"), this));
    auto* builtIn = Add(D::kBuiltIn, new QPushButton(Text(u"恢复内置图"), this));
    buttons->addWidget(browse);
    buttons->addWidget(builtIn);
    layout->addLayout(buttons);
    AddOkCancel(layout);
    connect(browse, &QPushButton::clicked, this, [this, path] {
        if (m_fields.Browse())
            path->setText(m_fields.m_path.ToQString());
    });
    connect(builtIn, &QPushButton::clicked, this, [this] { RestoreBuiltIn(); });
}

void CReTextextWindow::RestoreBuiltIn() {
    m_fields.m_texture = m_texture->currentIndex();
    m_fields.RestoreBuiltIn();
    Edit(CDlgReTextext::kPath)->setText(m_fields.m_path.ToQString());
}

void CReTextextWindow::accept() {
    m_fields.m_texture = m_texture->currentIndex();
    QDialog::accept();
}

namespace {

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPage), Run<CPageOptionsWindow, CDlgPage>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgWeight), Run<CWeightWindow, CDlgWeight>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgTable), Run<CTableWindow, CDlgTable>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgCmdBtn), Run<CCmdBtnWindow, CDlgCmdBtn>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgLabelMtf), Run<CLabelMtfWindow, CDlgLabelMtf>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgReTextext), Run<CReTextextWindow, CDlgReTextext>);
    return true;
}();

} // namespace
