// CHxExchangeDialog: the base of dialog windows that show the fields of a CDialog class: controls
// found by their dialog ids, number texts written and read as the fields' data exchange does, and a
// refused number reported with the dialog kept open and the edit focused.
#pragma once

#include "platform/afx.h"

#include <QDialog>

#include <initializer_list>
#include <map>

class QAbstractButton;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

class CHxExchangeDialog : public QDialog {
public:
    // The message of a text that is no number.
    static const char16_t* const kNotANumber; // "请输入一个数字。"

    explicit CHxExchangeDialog(const CString& title, QWidget* parent = nullptr);

    // The control with a dialog id (also its object name), or null.
    QWidget* Control(int id) const;
    QLineEdit* Edit(int id) const;
    QAbstractButton* Button(int id) const;

    // A float shown with six significant digits; and its text read back, blanks around it allowed.
    // A text that is no finite single-precision number is refused: the message is shown, the edit
    // gets the focus with its text selected, and the result is false.
    static QString FloatText(float value);
    static bool ParseFloat(const QString& text, float& value);
    void SetFloat(int id, float value);
    bool GetFloat(int id, float& value);
    // Whole numbers and doubles (fifteen significant digits) the same way.  An integer outside
    // min..max is refused with its own message.
    static const char16_t* const kNotAnInteger; // "请输入一个整数。"
    static bool ParseInt(const QString& text, int& value);
    static QString DoubleText(double value);
    static bool ParseDouble(const QString& text, double& value);
    bool GetInt(int id, int& value, int min, int max);
    // A float that must lie within min..max: one outside is refused with the range message.
    bool GetFloat(int id, float& value, float min, float max);
    bool GetDouble(int id, double& value);
    // A double that must lie within min..max: one outside is refused with the range message.
    bool GetDouble(int id, double& value, double min, double max);
    // A float read back only when its text was edited: a value shown unchanged keeps every digit it
    // had, beyond the six the edit shows.  A changed text is read as GetFloat does (with its range).
    bool GetEditedFloat(int id, float& value);
    bool GetEditedFloat(int id, float& value, float min, float max);

    // The index of the checked button of a group of radio buttons, -1 when none is checked; and the
    // button of an index checked (none for an index outside the group).
    static int RadioIndex(const QButtonGroup* group);
    static void SetRadioIndex(QButtonGroup* group, int index);
    // The group of radio buttons whose first button has that dialog id, or null.
    QButtonGroup* Group(int id) const;
    int RadioIndex(int id) const;
    // A check box's state as a field.
    BOOL Checked(int id) const;
    // The row of a drop-down list (0 when none is chosen).
    int ListIndex(int id) const;

protected:
    // Registers a control under its dialog id.
    template <class W> W* Add(int id, W* widget) {
        Register(id, widget);
        return widget;
    }
    // A read-only edit for the description of a marked element.
    QLineEdit* AddDescription(int id, const CString& text);
    QLineEdit* AddNumberEdit(int id, float value);
    QLineEdit* AddNumberEdit(int id, const QString& text);
    // A group box (titled unless the title is empty) of radio buttons in a row (a column when
    // vertical), the first registered under id, with the button of `index` checked.
    QGroupBox* AddRadioGroup(int id, const char16_t* title, std::initializer_list<const char16_t*> texts,
                             int index, bool vertical = false);
    QCheckBox* AddCheck(int id, const char16_t* text, BOOL checked);
    // A drop-down list of the given rows with `index` chosen.
    QComboBox* AddList(int id, std::initializer_list<const char16_t*> rows, int index);
    // The texture list: "不使用", then "图1" to "图15".
    QComboBox* AddTextureList(int id, int index);
    // The OK ("确定") and Cancel ("取消") buttons, at the bottom of the layout given.
    void AddOkCancel(QBoxLayout* layout);

    // Shows a refusal and puts the focus on the edit with its text selected; false.
    bool Refuse(QLineEdit* edit, const CString& message);

private:
    void Register(int id, QWidget* widget);
    std::map<int, QWidget*> m_controls;
    std::map<int, QButtonGroup*> m_groups;
    std::map<int, QString> m_shownTexts; // what each number edit showed when it was filled
};
