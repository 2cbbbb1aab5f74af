#include "Splash.h"

#include <QPointer>

#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

TEST(SplashPositionTest, CentresTheClientAreaWithTruncatingHalvings) {
    struct Case {
        QRect owner;
        QSize client;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 1920, 1080), QSize(489, 229), QPoint(960 - 244, 540 - 114)},
        {QRect(0, 0, 1920, 1080), QSize(490, 230), QPoint(960 - 245, 540 - 115)},
        {QRect(10, 20, 1001, 701), QSize(490, 230), QPoint(10 + 500 - 245, 20 + 350 - 115)},
        {QRect(-100, -50, 301, 201), QSize(489, 229), QPoint(-100 + 150 - 244, -50 + 100 - 114)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(SplashPosition(c.owner, c.client), c.expected)
            << "owner " << c.owner.x() << "," << c.owner.y() << " " << c.owner.width() << "x"
            << c.owner.height() << ", client " << c.client.width() << "x" << c.client.height();
    }
}

using SplashFrameTest = FrameTest;

TEST_F(SplashFrameTest, ShownTwoSecondsOverTheFrameBeforeItsContentsExistThenHidden) {
    bool checkedDuringWait = false;
    m_splashWait.during = [&] {
        const CMainFrame &frame = Frame();
        const QWidget *window = frame.Splash().Window();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(frame.Splash().IsShown());
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(frame.isVisible());
        EXPECT_EQ(frame.centralWidget(), nullptr) << "the text area comes after the splash";
        // The picture is centred, but the window is placed by its outer corner.
        const QRect client = window->contentsRect();
        EXPECT_EQ(client.size(), QSize(489, 229));
        EXPECT_GT(client.left(), 0) << "the picture has a border around it";
        EXPECT_EQ(window->pos(), SplashPosition(frame.frameGeometry(), client.size()));
        checkedDuringWait = true;
    };
    CMainFrame &frame = Frame();

    EXPECT_TRUE(checkedDuringWait);
    EXPECT_EQ(m_splashWait.waits, std::vector<int>{2000});
    EXPECT_FALSE(frame.Splash().IsShown());
    ASSERT_NE(frame.Splash().Window(), nullptr) << "hidden, not destroyed";
    EXPECT_FALSE(frame.Splash().Window()->isVisible());
}

TEST_F(SplashFrameTest, WindowGoesWithTheFrame) {
    QPointer<QWidget> window = Frame().Splash().Window();
    ASSERT_FALSE(window.isNull());
    DestroyFrame();
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace scrivo::testing
