// The action-button dialog windows offscreen: titles, the speed choice derived from the step and
// kept by the clicks and the custom edit, the pause shown only where it applies, the loop controls of
// each loop kind, the page list or the address of a link, refusals that keep the dialog open, and the
// fields written back on OK.
#include "app/button_dialogs_ui.h"

#include "platform/document.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <vector>

namespace {

class ButtonDialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        HxSetMessageBoxHandler([this](const CString& text, const CString&, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        HxSetMessageBoxHandler(nullptr);
        HxSetDialogRunner(nullptr);
    }
    static void Type(CHxExchangeDialog& window, int id, const char* text) {
        ASSERT_NE(window.Edit(id), nullptr) << id;
        window.Edit(id)->setText(QString::fromUtf8(text));
        emit window.Edit(id)->textEdited(window.Edit(id)->text());
    }
    static bool Checked(CHxExchangeDialog& window, int id) { return window.Button(id)->isChecked(); }
    static bool Shown(CHxExchangeDialog& window, int id) { return !window.Control(id)->isHidden(); }
    std::vector<CString> m_messages;
};

} // namespace

TEST_F(ButtonDialogWindows, TheSpeedChoiceFollowsTheStep) {
    using D = CDlgBtnMove;
    struct Case {
        float step;
        int checked;
        bool custom;
    };
    for (const Case& c : {Case{0.2f, 0, false}, {0.1f, 1, false}, {0.05f, 2, false}, {0.07f, 3, true}}) {
        CDlgBtnMove fields;
        fields.m_step = c.step;
        CBtnMoveWindow window(fields);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("操作类按钮　移动属性"));
        EXPECT_TRUE(Checked(window, D::kSpeedChoice + c.checked)) << c.step;
        EXPECT_EQ(window.Edit(D::kCustomStep)->isEnabled(), c.custom) << c.step;
        if (c.custom) {
            EXPECT_EQ(window.Edit(D::kCustomStep)->text(), QStringLiteral("0.07"));
        }
    }
    // Clicks: a preset takes its step, the custom choice puts the step into its edit, and what is
    // typed there becomes the step.
    CDlgBtnMove fields;
    CBtnMoveWindow window(fields);
    window.Button(D::kSpeedChoice)->click();
    EXPECT_FALSE(window.Edit(D::kCustomStep)->isEnabled());
    window.Button(D::kSpeedChoice + 3)->click();
    EXPECT_TRUE(window.Edit(D::kCustomStep)->isEnabled());
    EXPECT_EQ(window.Edit(D::kCustomStep)->text(), QStringLiteral("0.2"));
    Type(window, D::kCustomStep, "0.33");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_step, 0.33f);
    EXPECT_EQ(fields.m_speedChoice, 3);
}

TEST_F(ButtonDialogWindows, ThePathAnimationShowsItsPauseOnlyWhereItApplies) {
    using D = CDlgBtnAnimation;
    CDlgBtnAnimation fields;
    fields.m_caption = u"动画";
    fields.m_driven = u"线AB上的点";
    fields.m_min = 0.0f;
    fields.m_max = 6.2831855f;
    fields.m_step = 0.08726646f;
    fields.m_direction = 0;
    fields.m_repeat = 0;
    CBtnAnimationWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("操作类按钮　路径动画属性"));
    EXPECT_EQ(window.Edit(D::kDriven)->text(), QStringLiteral("线AB上的点"));
    EXPECT_TRUE(window.Edit(D::kDriven)->isReadOnly());
    EXPECT_TRUE(Checked(window, D::kSpeedChoice + 3)) << "five degrees is no preset";
    EXPECT_FALSE(Shown(window, D::kPause)) << "forward, once";
    window.Button(D::kRepeat + 1)->click();
    EXPECT_TRUE(Shown(window, D::kPause)) << "in a loop";
    window.Button(D::kRepeat)->click();
    EXPECT_FALSE(Shown(window, D::kPause));
    window.Button(D::kDirection + 2)->click();
    EXPECT_TRUE(Shown(window, D::kPause)) << "back and forth";

    Type(window, D::kRangeEnd, "abc");
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"请输入一个数字。")});
    Type(window, D::kRangeEnd, " 3.5 ");
    Type(window, D::kPause, "1.5");
    window.Button(D::kSpeedChoice)->click();
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_max, 3.5f);
    EXPECT_EQ(fields.m_direction, 2);
    EXPECT_EQ(fields.m_repeat, 0);
    EXPECT_EQ(fields.m_pause, 1.5f);
    EXPECT_EQ(fields.m_step, 0.5f);
}

TEST_F(ButtonDialogWindows, TheWalkRefusesACustomStepOutsideItsRange) {
    using D = CDlgBtnAnimation2;
    CDlgBtnAnimation2 fields;
    CBtnAnimation2Window window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("操作类按钮　面内点动画属性"));
    EXPECT_TRUE(Checked(window, D::kSpeedChoice + 1));
    EXPECT_EQ(window.Edit(D::kFrames)->text(), QStringLiteral("120"));
    window.Button(D::kSpeedChoice + 3)->click();
    Type(window, D::kCustomStep, "0.6");
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages, std::vector<CString>{CString(u"请输入一个在 0.001 和 0.5 之间的数。")});
    Type(window, D::kCustomStep, "0.5");
    Type(window, D::kFrames, "300");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_step, 0.5f);
    EXPECT_EQ(fields.m_frames, 300.0f);
}

TEST_F(ButtonDialogWindows, TheShowHideDialogExchangesItsAction) {
    using D = CDlgBtnShide;
    CDlgBtnShide fields;
    fields.m_info = u"此按钮显示或隐藏 3个对象";
    fields.m_caption = u"隐藏";
    CBtnShideWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("操作类按钮　显示隐藏属性"));
    EXPECT_EQ(window.Edit(D::kInfo)->text(), QStringLiteral("此按钮显示或隐藏 3个对象"));
    EXPECT_TRUE(Checked(window, D::kAction + 2));
    EXPECT_EQ(window.Button(D::kAction + 3)->text(), QStringLiteral("逐一显示对象"));
    window.Button(D::kAction + 3)->click();
    Type(window, D::kCaption, "逐个显示");
    window.accept();
    EXPECT_EQ(fields.m_action, 3);
    EXPECT_EQ(fields.m_caption, CString(u"逐个显示"));
}

TEST_F(ButtonDialogWindows, TheSeriesDialogShowsTheControlsOfItsLoop) {
    using D = CDlgBtnPresentat;
    CDlgBtnPresentat fields;
    fields.m_caption = u"系列动作";
    CBtnPresentatWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("操作类按钮　系列按钮属性"));
    EXPECT_FALSE(Shown(window, D::kPause)) << "at once: no pause between actions";
    window.Button(D::kMode + 1)->click();
    EXPECT_TRUE(Shown(window, D::kPause));
    struct Case {
        int loop;
        bool repeat, forValues, variable;
    };
    for (const Case& c : {Case{0, false, false, false},
                          {1, true, false, false},
                          {2, false, true, true},
                          {3, false, false, true},
                          {4, false, false, true}}) {
        window.Button(D::kLoop + c.loop)->click();
        EXPECT_EQ(Shown(window, D::kRepeatCount), c.repeat) << c.loop;
        EXPECT_EQ(Shown(window, D::kStart), c.forValues) << c.loop;
        EXPECT_EQ(Shown(window, D::kEnd), c.forValues) << c.loop;
        EXPECT_EQ(Shown(window, D::kStep), c.forValues) << c.loop;
        EXPECT_EQ(Shown(window, D::kCounter), c.variable) << c.loop;
    }
    auto* counter = qobject_cast<QComboBox*>(window.Control(D::kCounter));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->count(), 6);
    EXPECT_EQ(counter->itemText(5), QStringLiteral("No.6"));
    window.Button(D::kLoop + 2)->click();
    counter->setCurrentIndex(3);
    Type(window, D::kStart, "1");
    Type(window, D::kEnd, "10");
    Type(window, D::kStep, "0.5");
    Type(window, D::kRepeatCount, "x");
    window.accept();
    EXPECT_NE(window.result(), QDialog::Accepted) << "a count that is no whole number";
    Type(window, D::kRepeatCount, "4");
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_mode, 1);
    EXPECT_EQ(fields.m_loopKind, 2);
    EXPECT_EQ(fields.m_counter, 3);
    EXPECT_EQ(fields.m_end, 10.0);
    EXPECT_EQ(fields.m_step, 0.5);
    EXPECT_EQ(fields.m_repeatCount, 4);
}

TEST_F(ButtonDialogWindows, TheLinkDialogOffersPagesOrAnAddress) {
    using D = CDlgBtnLink;
    CDlgBtnLink fields;
    fields.m_caption = u"链接";
    fields.m_pageTitles = {CString(u"第一页"), CString(u"第二页"), CString(u"证明")};
    CBtnLinkWindow window(fields);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("链接"));
    auto* pages = qobject_cast<QComboBox*>(window.Control(D::kPage));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 3);
    EXPECT_TRUE(pages->isEnabled());
    EXPECT_FALSE(window.Edit(D::kHyperlink)->isEnabled());
    EXPECT_FALSE(window.Button(D::kBrowse)->isEnabled());
    EXPECT_EQ(window.Edit(D::kHyperlink)->text(), QString::fromUtf16(CDlgBtnLink::kDefaultHyperlink));
    window.Button(D::kKind + 1)->click();
    EXPECT_FALSE(pages->isEnabled());
    EXPECT_TRUE(window.Edit(D::kHyperlink)->isEnabled());
    // "浏览" puts the chosen file into the address.
    HxSetDialogRunner([](CDialog& dialog) {
        auto* files = DYNAMIC_DOWNCAST(CFileDialog, &dialog);
        EXPECT_NE(files, nullptr);
        if (!files)
            return INT_PTR(IDCANCEL);
        EXPECT_TRUE(files->m_bOpenFileDialog);
        files->SetResult(u"/home/学生/讲义.pdf");
        return INT_PTR(IDOK);
    });
    window.Button(D::kBrowse)->click();
    EXPECT_EQ(window.Edit(D::kHyperlink)->text(), QStringLiteral("/home/学生/讲义.pdf"));
    window.Button(D::kKind)->click();
    pages->setCurrentIndex(2);
    emit pages->activated(2);
    EXPECT_EQ(fields.m_pageIndex, 2) << "a page chosen is kept at once";
    window.accept();
    EXPECT_EQ(fields.m_kind, 0);
    EXPECT_EQ(fields.m_pageIndex, 2);
    EXPECT_EQ(fields.m_hyperlink, CString(u"/home/学生/讲义.pdf"));
}
