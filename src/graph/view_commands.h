#pragma once
// The main window's view commands act on the active graph window: each toggles one flag of its
// document and ends with UpdateViewButtons, whose result the main window shows on its tool
// buttons (image indices) and menu items (check marks). With no graph window nothing happens.

#include <optional>

namespace volt {

class GraphDocument;
class GraphModel;

struct ViewButtons {
    int VoltageImage = 8;  // 8 on / 9 off
    int CurrentImage = 10;
    int CapacityImage = 12;
    int TemperatureImage = 14;
    int CursorImage = 16;        // 17 on / 16 off
    int DigitalImage = 22;       // 21 on / 22 off
    bool VoltageChecked = true;  // mvoltage ... mcursor
    bool CurrentChecked = true;
    bool CapacityChecked = true;
    bool TemperatureChecked = true;
    bool CursorChecked = false;

    friend bool operator==(const ViewButtons&, const ViewButtons&) = default;
};

[[nodiscard]] ViewButtons UpdateViewButtons(const GraphDocument& document) noexcept;

// btnVoltageClick ... btnCursorClick; the menu items mvoltage ... mcursor run the same command.
enum class ViewCommand { Voltage, Current, Capacity, Temperature, Digital, Cursor };

// Voltage .. Temperature: the series follows its flag at once. Digital (Smoothing): the
// capacity and temperature series are refilled. Cursor: only CursorOn; the cross-hair itself is
// the window's. nullopt when there is no active graph window.
[[nodiscard]] std::optional<ViewButtons> RunViewCommand(GraphModel* active, ViewCommand command);

}  // namespace volt
