#include "setup/setup_window.h"

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <cstddef>

#include "setup/caption_label.h"

namespace volt::setup {
namespace {

constexpr QColor kNavy{0, 0, 128};
constexpr QColor kBannerText{255, 255, 255};
constexpr int kFontPixels = 32;
constexpr int kCaptionLeft = 12;  // pixels inside the menu panel
constexpr Size kCaptionSize{285, 37};
constexpr int kCaptionTops[kMenuCaptionCount] = {12, 64, 116};
constexpr const char* kPictureResource = ":/setup/setup_picture.png";
constexpr const char* kMessageTitle = "Setup";

[[nodiscard]] QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] QColor ToQColor(Rgb colour) {
    return {colour.R, colour.G, colour.B};
}

void PaintBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

// The captions' fixed width was measured in Arial; "Install USB Driver" is cut off in wider
// faces, so Arial or its metric twin Liberation Sans comes first.
[[nodiscard]] QFont CaptionFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    return font;
}

[[nodiscard]] QFont BannerFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(kFontPixels);
    font.setBold(true);
    return font;
}

}  // namespace

TSetupF::TSetupF(LauncherPlatform& platform, QWidget* parent)
    : QWidget(parent), launcher_(*this, platform) {
    setWindowTitle(ToQString(kWindowTitle));
    PaintBackground(*this, kNavy);
    resize(kDesignClientSize.Width, kDesignClientSize.Height);

    il_ = new QLabel(this);
    il_->setObjectName(QStringLiteral("il"));
    il_->setFixedSize(kPictureSize.Width, kPictureSize.Height);
    il_->setPixmap(QPixmap(QString::fromLatin1(kPictureResource)));

    ml_ = new QWidget(this);
    ml_->setObjectName(QStringLiteral("ml"));
    ml_->setFixedSize(kMenuSize.Width, kMenuSize.Height);
    PaintBackground(*ml_, kNavy);
    AddCaption(MenuCaption::InstallVoltaris, QStringLiteral("Install VOLTARIS"), kCaptionTops[0]);
    AddCaption(MenuCaption::InstallDriver, QStringLiteral("Install USB Driver"), kCaptionTops[1]);
    AddCaption(MenuCaption::Exit, QStringLiteral("Exit"), kCaptionTops[2]);

    // In a face wider than the one the banner was sized for, its text wraps rather than being cut.
    bl_ = new QLabel(ToQString(kRestartBannerText), this);
    bl_->setObjectName(QStringLiteral("bl"));
    bl_->setFixedSize(kBannerSize.Width, kBannerSize.Height);
    bl_->setAlignment(Qt::AlignCenter);
    bl_->setWordWrap(true);
    bl_->setFont(BannerFont());
    PaintBackground(*bl_, kNavy);
    SetTextColour(*bl_, kBannerText);
    bl_->hide();

    connect(captions_[0], &CaptionLabel::Clicked, this, [this] { launcher_.a2Click(); });
    connect(captions_[1], &CaptionLabel::Clicked, this, [this] { launcher_.a3Click(); });
    connect(captions_[2], &CaptionLabel::Clicked, this, [this] { launcher_.a4Click(); });

    launcher_.FormCreate();
    titleServer_.Publish(windowTitle(), [this] { close(); });

    Timer1.setInterval(kTimerIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, [this] { launcher_.Timer1Timer(); });
    Timer1.start();
}

CaptionLabel* TSetupF::AddCaption(MenuCaption caption, const QString& text, int top) {
    auto* label = new CaptionLabel(text, ml_);
    label->setObjectName(QStringLiteral("a%1").arg(static_cast<int>(caption) + 2));
    label->setGeometry(kCaptionLeft, top, kCaptionSize.Width, kCaptionSize.Height);
    label->setFont(CaptionFont());
    SetTextColour(*label, ToQColor(kCaptionRest));
    connect(label, &CaptionLabel::PointerEntered, this,
            [this, caption] { launcher_.a2MouseEnter(caption); });
    connect(label, &CaptionLabel::PointerLeft, this,
            [this, caption] { launcher_.a2MouseLeave(caption); });
    connect(label, &CaptionLabel::ButtonPressed, this,
            [this, caption] { launcher_.a4MouseDown(caption); });
    connect(label, &CaptionLabel::ButtonReleased, this,
            [this, caption] { launcher_.a4MouseUp(caption); });
    captions_[static_cast<std::size_t>(caption)] = label;
    return label;
}

CaptionLabel* TSetupF::Caption(MenuCaption caption) const noexcept {
    return captions_[static_cast<std::size_t>(caption)];
}

void TSetupF::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    launcher_.FormShow();
}

void TSetupF::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    launcher_.FormResize();
}

void TSetupF::closeEvent(QCloseEvent* event) {
    if (!SetupLauncher::FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    Timer1.stop();
    Q_EMIT Closed();
}

void TSetupF::MoveWindow(Point topLeft) {
    move(topLeft.X, topLeft.Y);
}
void TSetupF::ResizeWindow(Size size) {
    resize(size.Width, size.Height);
}
Size TSetupF::WindowSize() const {
    return {width(), height()};
}

Size TSetupF::ScreenSize() const {
    const QSize size = screen()->geometry().size();
    return {size.width(), size.height()};
}

void TSetupF::PlaceBanner(Point topLeft) {
    bl_->move(topLeft.X, topLeft.Y);
}
void TSetupF::PlacePicture(Point topLeft) {
    il_->move(topLeft.X, topLeft.Y);
}
void TSetupF::PlaceMenu(Point topLeft) {
    ml_->move(topLeft.X, topLeft.Y);
}

void TSetupF::ShowBanner() {
    bl_->show();
    bl_->raise();
}

void TSetupF::SetCaptionColour(MenuCaption caption, Rgb colour) {
    SetTextColour(*Caption(caption), ToQColor(colour));
}

void TSetupF::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kMessageTitle), ToQString(text),
                    QMessageBox::Ok, this);
    box.exec();
}

void TSetupF::CloseWindow() {
    close();
}

}  // namespace volt::setup
