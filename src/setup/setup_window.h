#pragma once
// TSetupF, the launcher's only window: the picture il, the hidden restart banner bl and the
// menu panel ml with its three captions, on navy. It shows what SetupLauncher decides.

#include <QTimer>
#include <QWidget>
#include <array>

#include "setup/launcher_view.h"
#include "setup/setup_launcher.h"
#include "setup/window_title_server.h"

class QLabel;

namespace volt::setup {

class CaptionLabel;

class TSetupF final : public QWidget, private LauncherView {
    Q_OBJECT
  public:
    explicit TSetupF(LauncherPlatform& platform, QWidget* parent = nullptr);

    [[nodiscard]] SetupLauncher& Launcher() noexcept { return launcher_; }
    [[nodiscard]] QLabel* Picture() const noexcept { return il_; }
    [[nodiscard]] QLabel* Banner() const noexcept { return bl_; }
    [[nodiscard]] QWidget* Menu() const noexcept { return ml_; }
    [[nodiscard]] CaptionLabel* Caption(MenuCaption caption) const noexcept;

  Q_SIGNALS:
    // The window has closed; the launcher ends.
    void Closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    CaptionLabel* AddCaption(MenuCaption caption, const QString& text, int top);

    void MoveWindow(Point topLeft) override;
    void ResizeWindow(Size size) override;
    [[nodiscard]] Size WindowSize() const override;
    [[nodiscard]] Size ScreenSize() const override;
    void PlaceBanner(Point topLeft) override;
    void PlacePicture(Point topLeft) override;
    void PlaceMenu(Point topLeft) override;
    void ShowBanner() override;
    void SetCaptionColour(MenuCaption caption, Rgb colour) override;
    void ShowMessage(std::string_view text) override;
    void CloseWindow() override;

    SetupLauncher launcher_;
    QLabel* il_ = nullptr;
    QLabel* bl_ = nullptr;
    QWidget* ml_ = nullptr;
    std::array<CaptionLabel*, kMenuCaptionCount> captions_{};
    QTimer Timer1;
    WindowTitleServer titleServer_;
};

}  // namespace volt::setup
