#include "setup/setup_launcher.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "setup/setup_layout.h"
#include "setup/window_server_name.h"
#include "setup_fakes.h"

namespace volt::setup {
namespace {

using test::FakePlatform;
using test::FakeView;

constexpr Size kScreen{1024, 768};

// A launcher created and shown on a 1024 x 768 screen.
class LauncherTest : public ::testing::Test {
  protected:
    void Start() {
        launcher.FormCreate();
        launcher.FormShow();
    }
    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            launcher.Timer1Timer();
    }

    FakeView view{kScreen};
    FakePlatform platform;
    SetupLauncher launcher{view, platform};
};

TEST_F(LauncherTest, CreationClosesAnOlderLauncherAndWaitsOffScreen) {
    launcher.FormCreate();
    ASSERT_EQ(platform.closeRequests.size(), 1U);
    EXPECT_EQ(platform.closeRequests[0].first, "Voltaris Install");
    EXPECT_TRUE(platform.closeRequests[0].second);
    EXPECT_EQ(view.position, (Point{-1000, -1000}));
    EXPECT_EQ(launcher.LifetimeCountdown(), 600);
    EXPECT_EQ(launcher.RestartCountdown(), 0);
    EXPECT_FALSE(launcher.DriverRequested());
}

// The size may be reported during the resize or afterwards; the show places the same.
class ShowLayoutTest : public LauncherTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ShowLayoutTest, FillsA1024x768ScreenAndPlacesTheMenuUnderThePicture) {
    if (GetParam())
        view.ReportResizeAt(&launcher);
    launcher.FormCreate();
    launcher.FormResize();  // the design size, before the window is shown
    launcher.FormShow();
    launcher.FormResize();  // a late report of the size the show set changes nothing
    EXPECT_EQ(view.position, (Point{0, 0}));
    EXPECT_EQ(view.size, kScreen);
    EXPECT_EQ(view.picture, (Point{312, 292}));
    EXPECT_EQ(view.menu, (Point{312, 484}));
    EXPECT_EQ(view.banner, (Point{113, 323}));
    EXPECT_FALSE(view.bannerShown);

    // A later resize centres the menu by its own size.
    view.size = {1280, 1024};
    launcher.FormResize();
    EXPECT_EQ(view.picture, (Point{440, 420}));
    EXPECT_EQ(view.menu, (Point{487, 679}));
    EXPECT_EQ(view.banner, (Point{241, 451}));

    // Showing again (after a minimise, say) leaves the window where it is.
    view.position = {-5000, -5000};
    launcher.FormShow();
    EXPECT_EQ(view.position, (Point{-5000, -5000}));
}

INSTANTIATE_TEST_SUITE_P(Resize, ShowLayoutTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Reported" : "Late"; });

TEST(SetupLayout, HalvesTruncateTowardZeroForOddAndSmallWindows) {
    struct Case {
        Size window;
        SetupLayout show;
        Point resizeMenu;
    };
    const std::vector<Case> cases = {
        {{1024, 768}, {{113, 323}, {312, 292}, {312, 484}}, {359, 487}},
        {{1023, 767}, {{113, 323}, {311, 292}, {311, 483}}, {359, 486}},
        {{300, 100}, {{-248, -10}, {-50, -41}, {-50, -16}}, {-2, -13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.window.Width) + "x" + std::to_string(c.window.Height));
        const SetupLayout show = ShowLayout(c.window);
        EXPECT_EQ(show.Banner, c.show.Banner);
        EXPECT_EQ(show.Picture, c.show.Picture);
        EXPECT_EQ(show.Menu, c.show.Menu);
        const SetupLayout resize = ResizeLayout(c.window);
        EXPECT_EQ(resize.Banner, c.show.Banner);
        EXPECT_EQ(resize.Picture, c.show.Picture);
        EXPECT_EQ(resize.Menu, c.resizeMenu);
    }
}

TEST_F(LauncherTest, HandshakeLeftByAnEarlierInstallationKeepsTheWindowOnScreen) {
    platform.WriteHandshake();
    Start();
    const int movesBefore = view.moves;
    Tick(3);
    EXPECT_EQ(view.moves, movesBefore + 3);  // every tick moves it to where it already is
    EXPECT_EQ(view.position, (Point{0, 0}));
    EXPECT_EQ(view.closes, 0);
    EXPECT_TRUE(platform.HasHandshake());  // only the product installer's start deletes it
}

TEST_F(LauncherTest, InstallVoltarisWithoutInstallerOnlyReportsIt) {
    platform.WriteHandshake();
    Start();
    launcher.a2Click();
    EXPECT_EQ(view.messages, std::vector<std::string>{"Setup Error - File not found [setup2.exe]"});
    EXPECT_EQ(view.position, (Point{0, 0}));
    EXPECT_TRUE(platform.HasHandshake());
    EXPECT_EQ(platform.deletes, 0);
    EXPECT_TRUE(platform.launched.empty());
}

TEST_F(LauncherTest, InstallVoltarisHidesUntilTheInstallerLeavesTheHandshake) {
    struct Case {
        std::set<std::string> files;
        std::string started;
    };
    const std::vector<Case> cases = {
        {{"/Setup/setup2.exe"}, "/Setup/setup2.exe"},
        {{"setup2.exe"}, "setup2.exe"},
        {{"/Setup/setup2.exe", "setup2.exe"}, "/Setup/setup2.exe"},
        {{"setup2.exe", "/Setup/install.exe"}, "setup2.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.started);
        FakeView caseView{kScreen};
        FakePlatform casePlatform;
        casePlatform.files = c.files;
        casePlatform.WriteHandshake();  // from an earlier installation
        SetupLauncher caseLauncher{caseView, casePlatform};
        caseLauncher.FormCreate();
        caseLauncher.FormShow();

        caseLauncher.a2Click();
        EXPECT_TRUE(caseView.messages.empty());
        EXPECT_EQ(casePlatform.launched, std::vector<std::string>{c.started});
        EXPECT_EQ(caseView.position, (Point{-5000, -5000}));
        EXPECT_FALSE(casePlatform.HasHandshake());

        caseLauncher.Timer1Timer();
        caseLauncher.Timer1Timer();
        EXPECT_EQ(caseView.position, (Point{-5000, -5000}));
        casePlatform.WriteHandshake();
        caseLauncher.Timer1Timer();
        EXPECT_EQ(caseView.position, (Point{0, 0}));
        EXPECT_EQ(caseView.closes, 0);
    }
}

TEST_F(LauncherTest, RegistryThatCannotBeOpenedDoesNotStopTheInstaller) {
    platform.files = {"setup2.exe"};
    platform.keyOpens = false;
    Start();
    launcher.a2Click();
    EXPECT_EQ(platform.launched, std::vector<std::string>{"setup2.exe"});
    Tick(10);
    EXPECT_EQ(view.position, (Point{-5000, -5000}));  // no value to bring it back
    EXPECT_EQ(view.closes, 0);
}

TEST_F(LauncherTest, MissingDriverInstallerStillMakesExitAskForARestart) {
    platform.WriteHandshake();
    Start();
    launcher.a3Click();
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"Setup Error - File not found [install.exe]"});
    EXPECT_TRUE(launcher.DriverRequested());
    EXPECT_TRUE(platform.HasHandshake());

    view.banner = {};
    launcher.a4Click();
    EXPECT_TRUE(view.bannerShown);
    EXPECT_TRUE(launcher.BannerVisible());
    EXPECT_EQ(view.banner, (Point{113, 323}));
    EXPECT_EQ(launcher.RestartCountdown(), 5);
    EXPECT_EQ(view.closes, 0);
}

TEST_F(LauncherTest, ExitAgainWhileTheBannerShowsDoesNothingAndTheLauncherClosesFiveTicksLater) {
    platform.files = {"/Setup/install.exe", "install.exe"};
    Start();
    launcher.a3Click();
    EXPECT_EQ(platform.launched, std::vector<std::string>{"/Setup/install.exe"});
    EXPECT_EQ(view.position, (Point{0, 0}));
    EXPECT_EQ(platform.deletes, 0);

    launcher.a4Click();
    Tick(2);
    launcher.a4Click();  // must not restart the countdown nor close
    EXPECT_EQ(launcher.RestartCountdown(), 3);
    EXPECT_EQ(view.closes, 0);
    Tick(2);
    EXPECT_EQ(view.closes, 0);
    Tick(1);
    EXPECT_EQ(view.closes, 1);
}

TEST_F(LauncherTest, ExitWithoutDriverClosesAtOnce) {
    Start();
    launcher.a4Click();
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(view.bannerShown);
    EXPECT_TRUE(SetupLauncher::FormCloseQuery());
}

TEST_F(LauncherTest, ClosesItselfAfter600TicksWhateverTheUserDoes) {
    platform.files = {"setup2.exe"};
    Start();
    launcher.a2Click();  // off screen, waiting for an installer that never finishes
    Tick(599);
    EXPECT_EQ(view.closes, 0);
    EXPECT_EQ(launcher.LifetimeCountdown(), 1);
    Tick(1);
    EXPECT_EQ(view.closes, 1);
    Tick(5);
    EXPECT_EQ(view.closes, 1);  // the countdown stays at 0
}

TEST_F(LauncherTest, CaptionColoursFollowThePointerAndTheButton) {
    enum class Event { Enter, Leave, Down, Up };
    struct Case {
        const char* name;
        std::vector<Event> events;
        Rgb colour;
    };
    const std::vector<Case> cases = {
        {"enter", {Event::Enter}, {0, 255, 0}},
        {"enter leave", {Event::Enter, Event::Leave}, {255, 255, 0}},
        {"press", {Event::Enter, Event::Down}, {0, 0, 255}},
        {"press release, pointer still over",
         {Event::Enter, Event::Down, Event::Up},
         {255, 255, 0}},
        {"release then leave", {Event::Enter, Event::Down, Event::Up, Event::Leave}, {255, 255, 0}},
    };
    for (const MenuCaption caption :
         {MenuCaption::InstallVoltaris, MenuCaption::InstallDriver, MenuCaption::Exit}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " on caption " +
                         std::to_string(static_cast<int>(caption)));
            FakeView caseView{kScreen};
            SetupLauncher caseLauncher{caseView, platform};
            for (const Event e : c.events) {
                switch (e) {
                    case Event::Enter:
                        caseLauncher.a2MouseEnter(caption);
                        break;
                    case Event::Leave:
                        caseLauncher.a2MouseLeave(caption);
                        break;
                    case Event::Down:
                        caseLauncher.a4MouseDown(caption);
                        break;
                    case Event::Up:
                        caseLauncher.a4MouseUp(caption);
                        break;
                }
            }
            for (int i = 0; i < kMenuCaptionCount; ++i) {
                const auto other = static_cast<MenuCaption>(i);
                const Rgb expected = other == caption ? c.colour : kCaptionRest;
                EXPECT_EQ(caseView.colours[static_cast<std::size_t>(i)], expected);
                EXPECT_EQ(caseLauncher.CaptionColour(other), expected);
            }
        }
    }
}

TEST(WindowServerName, KeepsTitlesOfDifferentUsersAndSpellingsApartWithinTheSocketLimit) {
    const std::string launcher = WindowServerName("Voltaris Install", 1000);
    EXPECT_EQ(launcher.rfind("volt-window-Voltaris_Install-", 0), 0U) << launcher;
    EXPECT_EQ(launcher.substr(launcher.size() - 5), "-1000");
    EXPECT_NE(launcher, WindowServerName("Voltaris Install", 1001));
    EXPECT_NE(launcher, WindowServerName("Voltaris_Install", 1000));
    EXPECT_EQ(WindowServerName("Voltaris", 0), "volt-window-Voltaris-0");

    const std::string longA(255, 'a');
    std::string longB = longA;
    longB.back() = 'b';
    const std::string nameA = WindowServerName(longA, 4294967295U);
    EXPECT_NE(nameA, WindowServerName(longB, 4294967295U));
    EXPECT_LE(nameA.size(), 90U);  // a Unix socket path holds 107 bytes with its folder
    for (const char c : nameA + launcher) {
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') << c;
    }
}

}  // namespace
}  // namespace volt::setup
