// Pages of older files brought up to date, step by step by version.
#include "model/page.h"

#include "view/view_camera.h"
#include "dynamics/buttons.h"
#include "formula/bin_tree.h"
#include "measure/text_items.h"
#include "support/class_stand_ins.h"
#include "support/page_fixture.h"

#include <cmath>

namespace {

class UpgradeTest : public PageFixture {
protected:
    template <class T> T* Add(T* cell) {
        cell->m_id = NextId();
        return Insert(cell);
    }
    // A rotation button as an old file left it: start and end orientations as angles.
    CGButnRotate* OldRotationButton(float start[3], float end[3], float turns) {
        auto* button = Add(new CGButnRotate);
        for (int i = 0; i < 3; ++i) {
            button->m_startRotation[i] = start[i];
            button->m_axis[i] = end[i];
        }
        button->m_seconds = turns; // the turn count of records of that age
        return button;
    }
};

} // namespace

TEST_F(UpgradeTest, Version330ConvertsFormulasUnitsAndTextsButNotTheView) {
    auto* formula = Add(new CGTbMtfText);
    formula->m_markup = u"<e>x</e>";
    formula->m_textureMode = 7;
    auto* attached = Add(new CGTbMhc);
    auto* value = Add(new CGTmVariable);
    value->m_labelHidden = 1;
    value->m_flag2 = false;
    auto* button = Add(new CGButnAnimation);
    button->m_color = CRgba{1, 2, 3, 4};
    m_page->m_unitsPerLength = 33;
    m_page->m_viewRot[0] = 0.5f;
    m_page->m_viewRot[3] = 0.25f;

    m_page->UpgradeFromVersion(330);
    EXPECT_EQ(formula->m_textureMode, 0);
    EXPECT_EQ(formula->m_markup, ConvertFormulaMarkup(u"<e>x</e>"));
    EXPECT_EQ(attached->m_textureMode, 1);
    EXPECT_EQ(value->m_labelHidden, 0);
    EXPECT_TRUE(value->m_flag2);
    EXPECT_EQ(m_page->m_unitsPerLength, 20);
    EXPECT_EQ(m_page->m_viewRot[0], 0.5f);
    EXPECT_EQ(m_page->m_viewRot[3], 0.25f);
    EXPECT_EQ(button->m_color, (CRgba{1, 2, 3, 4})) << "the button step is for files below 240";
}

TEST_F(UpgradeTest, CurrentVersionChangesNothing) {
    auto* value = Add(new CGTmVariable);
    value->m_labelHidden = 1;
    value->m_flag2 = false;
    auto* image = Add(new CGTbImage);
    image->m_param2 = 3.0f;
    m_page->m_unitsPerLength = 33;
    m_page->UpgradeFromVersion(605);
    EXPECT_EQ(value->m_labelHidden, 1);
    EXPECT_FALSE(value->m_flag2);
    EXPECT_EQ(image->m_param2, 3.0f);
    EXPECT_EQ(m_page->m_unitsPerLength, 33);
    m_page->UpgradeFromVersion(602);
    EXPECT_EQ(value->m_labelHidden, 1) << "602 is not below 602";
    m_page->UpgradeFromVersion(601);
    EXPECT_EQ(value->m_labelHidden, 0);
    EXPECT_EQ(m_page->m_unitsPerLength, 33);
}

TEST_F(UpgradeTest, OldestFilesGetButtonColoursAndPictureScales) {
    auto* button = Add(new CGButnMove);
    button->m_color = CRgba{1, 2, 3, 4};
    button->m_labelColor = CRgba{9, 9, 9, 9};
    button->m_labelHidden = 1;
    auto* image = Add(new CGTbImage);
    image->m_param2 = 0.0f;
    image->m_param3 = 5.0f;
    m_page->UpgradeFromVersion(-5); // thresholds are signed
    EXPECT_EQ(button->m_color, (CRgba{51, 102, 255, 4}));
    EXPECT_EQ(button->m_labelColor, (CRgba{0, 0, 0, 9}));
    EXPECT_EQ(button->m_labelHidden, 0);
    EXPECT_EQ(image->m_param2, 1.0f);
    EXPECT_EQ(image->m_param3, 1.0f);
}

TEST_F(UpgradeTest, ViewAnglesBecomeAQuaternionBelow320) {
    m_page->m_viewRot[0] = -75.0f;
    m_page->m_viewRot[1] = 0.0f;
    m_page->m_viewRot[2] = -15.0f;
    m_page->UpgradeFromVersion(310);
    EXPECT_NEAR(m_page->m_viewRot[3], 0.78657, 1e-5);
    EXPECT_NEAR(m_page->m_viewRot[0], -0.60355, 1e-5);
    EXPECT_NEAR(m_page->m_viewRot[1], -0.07946, 1e-5);
    EXPECT_NEAR(m_page->m_viewRot[2], -0.10355, 1e-5);
}

TEST_F(UpgradeTest, RotationButtonWithEqualAnglesTurnsWholeTurns) {
    float angles[3] = {30.0f, 10.0f, -20.0f};
    CGButnRotate* five = OldRotationButton(angles, angles, 5.0f);
    CGButnRotate* once = OldRotationButton(angles, angles, 1.0f);
    m_page->UpgradeFromVersion(310);
    EXPECT_EQ(five->m_param3, 720.0f);
    EXPECT_EQ(once->m_param3, 0.0f);
    for (CGButnRotate* b : {five, once}) {
        EXPECT_EQ(b->m_axis[0], 0.0f);
        EXPECT_EQ(b->m_axis[1], 0.0f);
        EXPECT_EQ(b->m_axis[2], 1.0f);
    }
    // The start orientation is now the quaternion of the start angles.
    double q[4];
    EulerToQuaternion(q, 30.0, 10.0, -20.0);
    EXPECT_FLOAT_EQ(five->m_param2, float(q[0]));
    EXPECT_FLOAT_EQ(five->m_startRotation[0], float(q[1]));
    EXPECT_FLOAT_EQ(five->m_startRotation[2], float(q[3]));
}

TEST_F(UpgradeTest, RotationButtonKeepsTheTurnBetweenItsOrientations) {
    float start[3] = {0.0f, 0.0f, 0.0f};
    float end[3] = {90.0f, 0.0f, 0.0f};
    CGButnRotate* button = OldRotationButton(start, end, 1.0f);
    float start2[3] = {0.0f, 0.0f, 40.0f};
    float end2[3] = {0.0f, 0.0f, -20.0f};
    CGButnRotate* back = OldRotationButton(start2, end2, 1.0f);
    m_page->UpgradeFromVersion(319);
    EXPECT_NEAR(button->m_param3, 90.0f, 1e-3);
    EXPECT_NEAR(button->m_axis[0], 1.0f, 1e-6);
    EXPECT_NEAR(button->m_axis[1], 0.0f, 1e-6);
    EXPECT_NEAR(button->m_param2, 1.0f, 1e-6);
    // From 40 to -20 degrees about z: 60 degrees about -z.
    EXPECT_NEAR(back->m_param3, 60.0f, 1e-3);
    EXPECT_NEAR(back->m_axis[2], -1.0f, 1e-6);
    // Not below 320: left alone.
    button->m_param3 = 5.0f;
    m_page->UpgradeFromVersion(320);
    EXPECT_EQ(button->m_param3, 5.0f);
}
