// The start asks for the drawing view's OpenGL before it makes the frame: without it the program says
// so (a box and the same line on standard error) and ends with status 1, the print forms too; with it
// the program starts as before.
#include "app_start_fixture.h"

#include "app/main_frame.h"
#include "view/halvix_view.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char16_t kNoOpenGl[] = u"无法启动Halvix：不能创建OpenGL绘图环境。请检查显卡驱动程序是否已正确安装，"
                             u"或安装Mesa软件渲染器（libgl1-mesa-dri）。";

class OpenGlCheckTest : public AppStartTest {
protected:
    void TearDown() override {
        CHalvixApp::s_openGlCheck = nullptr;
        AppStartTest::TearDown();
    }

    // The check answers `answer`, and counts how often it was asked.
    void CheckAnswers(bool answer) {
        CHalvixApp::s_openGlCheck = [this, answer] {
            ++m_checks;
            return answer;
        };
    }

    // InitInstance, with what it wrote on standard error.
    static bool Start(Program& program, std::string* errors) {
        testing::internal::CaptureStderr();
        const bool started = program.app.InitInstance() != FALSE;
        *errors = testing::internal::GetCapturedStderr();
        return started;
    }

    // The refused start: asked once, said once in a box and alone on a line of standard error, status
    // 1 and no frame.
    void ExpectRefused(const QStringList& args) {
        m_messages.clear();
        m_types.clear();
        m_checks = 0;
        CheckAnswers(false);
        Program program(args);
        std::string errors;
        EXPECT_FALSE(Start(program, &errors));
        EXPECT_EQ(m_checks, 1);
        EXPECT_EQ(m_messages, (std::vector<CString>{CString(kNoOpenGl)}));
        EXPECT_EQ(m_types, (std::vector<UINT>{MB_ICONERROR}));
        const std::string line = CString(kNoOpenGl).ToUtf8() + "\n";
        EXPECT_NE(("\n" + errors).find("\n" + line), std::string::npos) << "standard error:\n" << errors;
        EXPECT_EQ(program.app.GetShellResult(), 1);
        EXPECT_EQ(program.app.GetMainFrame(), nullptr) << "no window that would paint without OpenGL";
    }

    int m_checks = 0;
};

} // namespace

TEST_F(OpenGlCheckTest, WithoutOpenGlTheProgramSaysSoAndEndsWithStatusOne) {
    ExpectRefused({QStringLiteral("halvix")});
}

TEST_F(OpenGlCheckTest, WithoutOpenGlNothingIsPrintedFromTheCommandLine) {
    const QString path = SaveDocument(1);
    ExpectRefused({QStringLiteral("halvix"), QStringLiteral("/p"), path});
    ExpectRefused({QStringLiteral("halvix"), QStringLiteral("/pt"), path, QStringLiteral("办公室")});
    EXPECT_TRUE(m_printerNames.empty());
}

TEST_F(OpenGlCheckTest, WithOpenGlTheProgramStartsAsBefore) {
    CheckAnswers(true);
    Program program({QStringLiteral("halvix")});
    std::string errors;
    EXPECT_TRUE(Start(program, &errors));
    EXPECT_EQ(m_checks, 1);
    EXPECT_TRUE(m_messages.empty());
    ASSERT_NE(program.app.GetMainFrame(), nullptr);
    EXPECT_TRUE(program.app.GetMainFrame()->isVisible());
    // (A bounded wait for the first paint, which sets up the view's OpenGL.)
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.app.GetMainFrame()->GetView()->IsGlReady(); }, 10000));
    program.app.GetMainFrame()->close();
}

// The view's own check, on this display's OpenGL (Mesa's software renderer under Xvfb): a check that
// refused it would keep the program from starting anywhere.
TEST(OpenGlContextCheck, AContextOfTheViewsKindCanBeMadeHere) {
    EXPECT_TRUE(CHalvixView::CanCreateContext());
}
