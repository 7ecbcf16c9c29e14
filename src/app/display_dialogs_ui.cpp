// The windows of the display commands' dialogs: the batch point labels, the parameter colour and
// the system colour dialog.
#include "app/color_picker.h"
#include "app/exchange_dialog.h"
#include "document/display_dialogs.h"

#include "app/dialog_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HxDialogUi::Run;
using HxDialogUi::Text;

// A drop-down list of the rows, nothing to type, with the row of the text chosen (the first row when
// the text is none of them).
QComboBox* DropDownList(QWidget* parent, const std::vector<CString>& rows, const CString& text) {
    auto* combo = new QComboBox(parent);
    for (const CString& row : rows)
        combo->addItem(row.ToQString());
    combo->setCurrentIndex(std::max(0, combo->findText(text.ToQString())));
    return combo;
}

// ---------------------------------------------------------------------------------------------
// "点的标签"

class CLabelWindow : public CHxExchangeDialog {
public:
    CLabelWindow(CDlgLabel& fields, QWidget* parent)
        : CHxExchangeDialog(u"点的标签", parent), m_fields(fields) {
        using D = CDlgLabel;
        auto* layout = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(Text(u"起始标签："), this));
        m_letter = Add(D::kLetterList, DropDownList(this, D::LetterRows(), fields.m_letter));
        m_suffix = Add(D::kSuffixList, DropDownList(this, D::SuffixRows(), fields.m_suffix));
        row->addWidget(m_letter);
        row->addWidget(m_suffix);
        layout->addLayout(row);
        layout->addWidget(new QLabel(Text(u"示例：A1、B1、C1…"), this));
        m_show = Add(D::kShowLabels, new QCheckBox(Text(u"显示所有被选中点的标签"), this));
        m_show->setChecked(fields.m_showLabels != FALSE);
        layout->addWidget(m_show);
        AddOkCancel(layout);
    }

    void accept() override {
        // The lists offer only names of the naming cycle.
        m_fields.m_letter = CString::FromQString(m_letter->currentText());
        m_fields.m_suffix = CString::FromQString(m_suffix->currentText());
        m_fields.m_showLabels = m_show->isChecked() ? TRUE : FALSE;
        QDialog::accept();
    }

private:
    CDlgLabel& m_fields;
    QComboBox* m_letter;
    QComboBox* m_suffix;
    QCheckBox* m_show;
};

// ---------------------------------------------------------------------------------------------
// "颜色参数"

class CParametricColorWindow : public CHxExchangeDialog {
public:
    CParametricColorWindow(CDlgParametricColor& fields, QWidget* parent)
        : CHxExchangeDialog(u"颜色参数", parent), m_fields(fields) {
        using D = CDlgParametricColor;
        auto* layout = new QVBoxLayout(this);
        auto* grid = new QGridLayout;
        grid->addWidget(new QLabel(Text(u"标签："), this), 0, 0);
        m_label = Add(D::kLabel, new QLineEdit(fields.m_label.ToQString(), this));
        grid->addWidget(m_label, 0, 1, 1, 4);
        grid->addWidget(new QLabel(Text(u"参数范围："), this), 1, 0);
        grid->addWidget(new QLabel(Text(u"从"), this), 1, 1);
        grid->addWidget(AddNumberEdit(D::kRangeFrom, fields.m_from), 1, 2);
        grid->addWidget(new QLabel(Text(u"到"), this), 1, 3);
        grid->addWidget(AddNumberEdit(D::kRangeTo, fields.m_to), 1, 4);
        layout->addLayout(grid);
        m_choice = new QButtonGroup(this);
        auto* first = Add(D::kFirstChoice, new QRadioButton(fields.FirstChoiceText().ToQString(), this));
        auto* second = Add(D::kSecondChoice, new QRadioButton(fields.SecondChoiceText().ToQString(), this));
        m_choice->addButton(first, 0);
        m_choice->addButton(second, 1);
        layout->addWidget(first);
        layout->addWidget(second);
        SetRadioIndex(m_choice, fields.m_choice);
        layout->addWidget(new QLabel(Text(u"循环"), this));
        layout->addWidget(new QLabel(Text(u"确定后可在图形区左下角点击修改"), this));
        AddOkCancel(layout);
    }

    void accept() override {
        using D = CDlgParametricColor;
        float from, to;
        if (!GetFloat(D::kRangeFrom, from) || !GetFloat(D::kRangeTo, to))
            return;
        m_fields.m_label = CString::FromQString(m_label->text());
        m_fields.m_from = from;
        m_fields.m_to = to;
        m_fields.m_choice = std::max(0, RadioIndex(m_choice));
        QDialog::accept();
    }

private:
    CDlgParametricColor& m_fields;
    QLineEdit* m_label;
    QButtonGroup* m_choice;
};

INT_PTR ShowColorDialog(CDialog& dialog) {
    auto* fields = dynamic_cast<CMFCColorDialog*>(&dialog);
    if (!fields)
        return IDCANCEL;
    COLORREF color = fields->m_color;
    if (!CColorPicker::ColorDialog()(color, QApplication::activeWindow()))
        return IDCANCEL;
    fields->m_color = color;
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgLabel), Run<CLabelWindow, CDlgLabel>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgParametricColor),
                              Run<CParametricColorWindow, CDlgParametricColor>);
    HxRegisterDialogPresenter(RUNTIME_CLASS(CMFCColorDialog), ShowColorDialog);
    return true;
}();

} // namespace
