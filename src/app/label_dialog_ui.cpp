// The window of the label dialog: the name with a list of characters to insert, the colour picker
// with its "#RRGGBB" text and the four check boxes, laid out in one column.
#include "app/label_dialog_ui.h"

#include "app/color_picker.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPropertyLabelWindow::CPropertyLabelWindow(CDlgPropertyLabel& fields, QWidget* parent)
    : CHxExchangeDialog(CString(u"标签属性"), parent), m_fields(fields) {
    using D = CDlgPropertyLabel;
    auto* column = new QVBoxLayout(this);

    auto* nameRow = new QHBoxLayout;
    auto* edit = Add(D::kLabelEdit, new QLineEdit(fields.m_label.ToQString(), this));
    auto* characters = Add(D::kCharacterList, new QComboBox(this));
    characters->addItem(QString());
    for (QChar c : HxLabelCharacters().ToQString())
        characters->addItem(QString(c));
    connect(characters, &QComboBox::activated, this, [this](int row) { InsertCharacter(row); });
    nameRow->addWidget(edit, 1);
    nameRow->addWidget(characters);
    column->addLayout(nameRow);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("颜色："), this));
    m_color = Add(D::kColorButton, new CColorPicker(this));
    auto* colorText = new QLabel(this);
    m_color->SetBuddy(colorText);
    m_color->SetColor(fields.m_color);
    colorRow->addWidget(m_color);
    colorRow->addWidget(colorText);
    colorRow->addStretch(1);
    column->addLayout(colorRow);

    column->addWidget(AddCheck(D::kShowLabelCheck, u"显示标签", fields.m_showLabel));
    column->addWidget(AddCheck(D::kApplyColorCheck, u"将颜色用于选中的对象", fields.m_applyToSelected));
    column->addWidget(AddCheck(D::kAutoNameCheck, u"自动命名", fields.m_autoName));
    column->addWidget(AddCheck(D::kAutoScaleCheck, u"自动缩放（应用于选中的点线面圆）", fields.m_autoScale));
    AddOkCancel(column);

    // The name is ready to be typed over.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void CPropertyLabelWindow::InsertCharacter(int row) {
    using D = CDlgPropertyLabel;
    auto* characters = qobject_cast<QComboBox*>(Control(D::kCharacterList));
    QLineEdit* edit = Edit(D::kLabelEdit);
    if (!characters || !edit)
        return;
    if (row > 0 && row < characters->count())
        edit->insert(characters->itemText(row));
    characters->setCurrentIndex(0);
    edit->setFocus(Qt::OtherFocusReason);
}

void CPropertyLabelWindow::accept() {
    using D = CDlgPropertyLabel;
    m_fields.m_label = CString::FromQString(Edit(D::kLabelEdit)->text());
    m_fields.m_color = m_color->GetColor();
    m_fields.m_showLabel = Checked(D::kShowLabelCheck);
    m_fields.m_applyToSelected = Checked(D::kApplyColorCheck);
    m_fields.m_autoName = Checked(D::kAutoNameCheck);
    m_fields.m_autoScale = Checked(D::kAutoScaleCheck);
    QDialog::accept();
}

namespace {

INT_PTR RunLabelDialog(CDialog& base) {
    auto* fields = dynamic_cast<CDlgPropertyLabel*>(&base);
    if (!fields)
        return IDCANCEL;
    CPropertyLabelWindow window(*fields, QApplication::activeWindow());
    return window.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyLabel), RunLabelDialog);
    return true;
}();

} // namespace
