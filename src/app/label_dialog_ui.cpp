// The window of the label dialog: the name with a list of characters to insert, the colour picker
// with its "#RRGGBB" text and the four check boxes, laid out in one column.
#include "app/color_picker.h"
#include "view/label_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

INT_PTR RunLabelDialog(CDialog& base) {
    auto& dlg = static_cast<CDlgPropertyLabel&>(base);
    QDialog window;
    window.setWindowTitle(QStringLiteral("标签属性"));
    auto* column = new QVBoxLayout(&window);

    auto* nameRow = new QHBoxLayout;
    auto* edit = new QLineEdit(dlg.m_label.ToQString());
    auto* characters = new QComboBox;
    characters->addItem(QString());
    for (QChar c : HxLabelCharacters().ToQString())
        characters->addItem(QString(c));
    QObject::connect(characters, &QComboBox::activated, edit, [edit, characters](int index) {
        if (index > 0)
            edit->insert(characters->itemText(index));
        characters->setCurrentIndex(0);
        edit->setFocus();
    });
    nameRow->addWidget(edit, 1);
    nameRow->addWidget(characters);
    column->addLayout(nameRow);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("颜色：")));
    auto* colorButton = new CColorPicker;
    colorButton->setObjectName(QStringLiteral("1027"));
    auto* colorText = new QLabel;
    colorButton->SetBuddy(colorText);
    colorButton->SetColor(dlg.m_color);
    colorRow->addWidget(colorButton);
    colorRow->addWidget(colorText);
    colorRow->addStretch(1);
    column->addLayout(colorRow);

    auto* show = new QCheckBox(QStringLiteral("显示标签"));
    show->setChecked(dlg.m_showLabel);
    auto* apply = new QCheckBox(QStringLiteral("将颜色用于选中的对象"));
    apply->setChecked(dlg.m_applyToSelected);
    auto* autoName = new QCheckBox(QStringLiteral("自动命名"));
    autoName->setChecked(dlg.m_autoName);
    auto* autoScale = new QCheckBox(QStringLiteral("自动缩放（应用于选中的点线面圆）"));
    autoScale->setChecked(dlg.m_autoScale);
    for (QCheckBox* box : {show, apply, autoName, autoScale})
        column->addWidget(box);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    column->addWidget(buttons);

    // The name is ready to be typed over.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (window.exec() != QDialog::Accepted)
        return IDCANCEL;
    dlg.m_label = CString::FromQString(edit->text());
    dlg.m_color = colorButton->GetColor();
    dlg.m_showLabel = show->isChecked();
    dlg.m_applyToSelected = apply->isChecked();
    dlg.m_autoName = autoName->isChecked();
    dlg.m_autoScale = autoScale->isChecked();
    return IDOK;
}

const bool g_registered = [] {
    HxRegisterDialogPresenter(RUNTIME_CLASS(CDlgPropertyLabel), RunLabelDialog);
    return true;
}();

} // namespace
