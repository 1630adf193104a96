#include "graph/view_commands.h"

#include "graph/graph_model.h"

namespace volt {
namespace {

constexpr int kFirstQuantityImage = 8;  // voltage on; off is one more, each quantity two on
constexpr int kCursorOnImage = 17;
constexpr int kCursorOffImage = 16;
constexpr int kDigitalOnImage = 21;
constexpr int kDigitalOffImage = 22;

int QuantityImage(int i, std::int32_t flag) noexcept {
    return kFirstQuantityImage + 2 * i + (IsOn(flag) ? 0 : 1);
}

void Toggle(std::int32_t& flag) noexcept {
    flag = IsOn(flag) ? kFlagOff : kFlagOn;
}

}  // namespace

ViewButtons UpdateViewButtons(const GraphDocument& document) noexcept {
    const CgmHeader& h = document.Header;
    ViewButtons b;
    b.VoltageImage = QuantityImage(0, h.VoltageVisible);
    b.CurrentImage = QuantityImage(1, h.CurrentVisible);
    b.CapacityImage = QuantityImage(2, h.CapacityVisible);
    b.TemperatureImage = QuantityImage(3, h.TemperatureVisible);
    b.VoltageChecked = IsOn(h.VoltageVisible);
    b.CurrentChecked = IsOn(h.CurrentVisible);
    b.CapacityChecked = IsOn(h.CapacityVisible);
    b.TemperatureChecked = IsOn(h.TemperatureVisible);
    b.CursorImage = IsOn(h.CursorOn) ? kCursorOnImage : kCursorOffImage;
    b.CursorChecked = IsOn(h.CursorOn);
    b.DigitalImage = IsOn(h.Smoothing) ? kDigitalOnImage : kDigitalOffImage;
    return b;
}

std::optional<ViewButtons> RunViewCommand(GraphModel* active, ViewCommand command) {
    if (active == nullptr) {
        return std::nullopt;
    }
    CgmHeader& h = active->Document().Header;
    const auto show = [&](std::int32_t& flag, SeriesKind kind) {
        Toggle(flag);
        active->Series(kind).SetVisible(IsOn(flag));
    };
    switch (command) {
        case ViewCommand::Voltage:
            show(h.VoltageVisible, SeriesKind::Voltage);
            break;
        case ViewCommand::Current:
            show(h.CurrentVisible, SeriesKind::Current);
            break;
        case ViewCommand::Capacity:
            show(h.CapacityVisible, SeriesKind::Capacity);
            break;
        case ViewCommand::Temperature:
            show(h.TemperatureVisible, SeriesKind::Temperature);
            break;
        case ViewCommand::Digital:
            Toggle(h.Smoothing);
            active->StartSeriesRefill(SeriesKind::Capacity);
            active->StartSeriesRefill(SeriesKind::Temperature);
            break;
        case ViewCommand::Cursor:
            Toggle(h.CursorOn);
            break;
    }
    return UpdateViewButtons(active->Document());
}

}  // namespace volt
