// CHxExchangeDialog: controls by dialog id, number texts, refusals, radio groups.
#include "app/exchange_dialog.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cfloat>
#include <cmath>

const char16_t* const CHxExchangeDialog::kNotANumber = u"请输入一个数字。";
const char16_t* const CHxExchangeDialog::kNotAnInteger = u"请输入一个整数。";

CHxExchangeDialog::CHxExchangeDialog(const CString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title.ToQString());
    setModal(true);
}

void CHxExchangeDialog::Register(int id, QWidget* widget) {
    widget->setObjectName(QString::number(id));
    m_controls[id] = widget;
}

QWidget* CHxExchangeDialog::Control(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* CHxExchangeDialog::Edit(int id) const {
    return qobject_cast<QLineEdit*>(Control(id));
}

QAbstractButton* CHxExchangeDialog::Button(int id) const {
    return qobject_cast<QAbstractButton*>(Control(id));
}

QString CHxExchangeDialog::FloatText(float value) {
    return CString(HxFormat(u"%.6g", double(value))).ToQString();
}

bool CHxExchangeDialog::ParseFloat(const QString& text, float& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double d = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > double(FLT_MAX))
        return false;
    value = float(d);
    return true;
}

void CHxExchangeDialog::SetFloat(int id, float value) {
    if (QLineEdit* edit = Edit(id)) {
        edit->setText(FloatText(value));
        m_shownTexts[id] = edit->text();
    }
}

bool CHxExchangeDialog::GetEditedFloat(int id, float& value) {
    QLineEdit* edit = Edit(id);
    if (!edit)
        return false;
    auto shown = m_shownTexts.find(id);
    if (shown != m_shownTexts.end() && shown->second == edit->text())
        return true;
    return GetFloat(id, value);
}

bool CHxExchangeDialog::GetEditedFloat(int id, float& value, float min, float max) {
    QLineEdit* edit = Edit(id);
    if (!edit)
        return false;
    auto shown = m_shownTexts.find(id);
    if (shown != m_shownTexts.end() && shown->second == edit->text())
        return true;
    return GetFloat(id, value, min, max);
}

bool CHxExchangeDialog::Refuse(QLineEdit* edit, const CString& message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

bool CHxExchangeDialog::GetFloat(int id, float& value) {
    QLineEdit* edit = Edit(id);
    if (!edit)
        return false;
    if (ParseFloat(edit->text(), value))
        return true;
    return Refuse(edit, kNotANumber);
}

bool CHxExchangeDialog::ParseInt(const QString& text, int& value) {
    bool ok = false;
    const int v = QLocale::c().toInt(text.trimmed(), &ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

QString CHxExchangeDialog::DoubleText(double value) {
    return CString(HxFormat(u"%.15g", value)).ToQString();
}

bool CHxExchangeDialog::ParseDouble(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    const double d = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(d))
        return false;
    value = d;
    return true;
}

bool CHxExchangeDialog::GetInt(int id, int& value, int min, int max) {
    QLineEdit* edit = Edit(id);
    if (!edit)
        return false;
    int v = 0;
    if (!ParseInt(edit->text(), v))
        return Refuse(edit, kNotAnInteger);
    if (v < min || v > max)
        return Refuse(edit, HxFormat(u"请输入一个在 %d 和 %d 之间的整数。", min, max));
    value = v;
    return true;
}

bool CHxExchangeDialog::GetFloat(int id, float& value, float min, float max) {
    float v = 0.0f;
    if (!GetFloat(id, v))
        return false;
    if (v < min || v > max)
        return Refuse(Edit(id), HxFormat(u"请输入一个在 %g 和 %g 之间的数。", double(min), double(max)));
    value = v;
    return true;
}

bool CHxExchangeDialog::GetDouble(int id, double& value) {
    QLineEdit* edit = Edit(id);
    if (!edit)
        return false;
    if (ParseDouble(edit->text(), value))
        return true;
    return Refuse(edit, kNotANumber);
}

bool CHxExchangeDialog::GetDouble(int id, double& value, double min, double max) {
    double v = 0.0;
    if (!GetDouble(id, v))
        return false;
    if (v < min || v > max)
        return Refuse(Edit(id), HxFormat(u"请输入一个在 %g 和 %g 之间的数。", min, max));
    value = v;
    return true;
}

int CHxExchangeDialog::RadioIndex(const QButtonGroup* group) {
    const QList<QAbstractButton*> buttons = group->buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked())
            return i;
    }
    return -1;
}

void CHxExchangeDialog::SetRadioIndex(QButtonGroup* group, int index) {
    const QList<QAbstractButton*> buttons = group->buttons();
    if (index >= 0 && index < buttons.size()) {
        buttons[index]->setChecked(true);
        return;
    }
    // No button of the group stands for the index: none is checked.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* b : buttons)
        b->setChecked(false);
    group->setExclusive(exclusive);
}

QButtonGroup* CHxExchangeDialog::Group(int id) const {
    auto it = m_groups.find(id);
    return it == m_groups.end() ? nullptr : it->second;
}

int CHxExchangeDialog::RadioIndex(int id) const {
    const QButtonGroup* group = Group(id);
    return group ? RadioIndex(group) : -1;
}

BOOL CHxExchangeDialog::Checked(int id) const {
    auto* check = qobject_cast<QCheckBox*>(Control(id));
    return check && check->isChecked() ? TRUE : FALSE;
}

int CHxExchangeDialog::ListIndex(int id) const {
    auto* list = qobject_cast<QComboBox*>(Control(id));
    return list ? std::max(list->currentIndex(), 0) : 0;
}

QGroupBox* CHxExchangeDialog::AddRadioGroup(int id, const char16_t* title,
                                            std::initializer_list<const char16_t*> texts, int index,
                                            bool vertical) {
    auto* box = new QGroupBox(QString::fromUtf16(title), this);
    QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box)) : new QHBoxLayout(box);
    auto* group = new QButtonGroup(this);
    int i = 0;
    for (const char16_t* text : texts) {
        auto* button = new QRadioButton(QString::fromUtf16(text), box);
        if (i == 0)
            Register(id, button);
        group->addButton(button, i++);
        layout->addWidget(button);
    }
    m_groups[id] = group;
    SetRadioIndex(group, index);
    return box;
}

QCheckBox* CHxExchangeDialog::AddCheck(int id, const char16_t* text, BOOL checked) {
    auto* check = Add(id, new QCheckBox(QString::fromUtf16(text), this));
    check->setChecked(checked != FALSE);
    return check;
}

QComboBox* CHxExchangeDialog::AddList(int id, std::initializer_list<const char16_t*> rows, int index) {
    auto* list = Add(id, new QComboBox(this));
    for (const char16_t* row : rows)
        list->addItem(QString::fromUtf16(row));
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : 0);
    return list;
}

QComboBox* CHxExchangeDialog::AddTextureList(int id, int index) {
    QComboBox* list = AddList(id, {u"不使用"}, 0);
    for (int i = 1; i <= 15; ++i)
        list->addItem(QStringLiteral("图%1").arg(i));
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : 0);
    return list;
}

QLineEdit* CHxExchangeDialog::AddDescription(int id, const CString& text) {
    auto* edit = Add(id, new QLineEdit(text.ToQString(), this));
    edit->setReadOnly(true);
    edit->setMinimumWidth(220);
    return edit;
}

QLineEdit* CHxExchangeDialog::AddNumberEdit(int id, float value) {
    return AddNumberEdit(id, FloatText(value));
}

QLineEdit* CHxExchangeDialog::AddNumberEdit(int id, const QString& text) {
    auto* edit = Add(id, new QLineEdit(text, this));
    m_shownTexts[id] = text;
    edit->setMaximumWidth(90);
    return edit;
}

void CHxExchangeDialog::AddOkCancel(QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    Register(IDOK, buttons->button(QDialogButtonBox::Ok));
    Register(IDCANCEL, buttons->button(QDialogButtonBox::Cancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
