#pragma once
// The simulated charger's physics: what each of its two channels would measure while a scenario
// plays. Everything here is plain arithmetic on scenario time, deterministic for a seed, and
// independent of how the values are later put into frames.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string_view>

namespace volt::sim {

inline constexpr int kSimCells = 12;

// What one channel reports, in the charger's units.
struct ChannelMeasurement {
    int Status = 0;       // 0 idle, 1 discharge, 2 charge
    int BatteryType = 0;  // 0 none, 1 LiPo, 4 NiMh
    int Voltage = 0;      // 1/100 V
    int Current = 0;      // 1/100 A
    int Capacity = 0;     // mAh of the current run
    int TemperatureC = 0;
    std::array<int, kSimCells> Cells{};  // 1/100 V; 0 for cells without a balance lead
    int InputVoltage = 0;                // 1/100 V, the supply, shared by both channels
    // The limits set on the charger for this channel's battery.
    int VoltageLimit = 0;      // 1/100 V
    int CapacityLimit = 0;     // mAh
    int TemperatureLimit = 0;  // degrees C
};

using ChargerMeasurement = std::array<ChannelMeasurement, 2>;

enum class ScenarioKind { LipoCharge, NimhDischarge, Dual, Idle, Cycle };

[[nodiscard]] std::optional<ScenarioKind> ParseScenario(std::string_view name) noexcept;
[[nodiscard]] std::string_view ScenarioName(ScenarioKind kind) noexcept;

class Battery;

class Scenario {
  public:
    Scenario(ScenarioKind kind, std::uint32_t seed);
    ~Scenario();
    Scenario(Scenario&&) noexcept;
    Scenario& operator=(Scenario&&) noexcept;

    // Runs the physics forward to the given scenario time (seconds since the start); earlier
    // times are ignored.
    void AdvanceTo(double seconds);
    [[nodiscard]] double Now() const noexcept { return now_; }

    // What the charger measures now; every call draws fresh measurement noise of at most one
    // digit.
    [[nodiscard]] ChargerMeasurement Measure();

  private:
    std::array<std::unique_ptr<Battery>, 2> channels_;
    std::mt19937 noise_;
    double now_ = 0;
};

}  // namespace volt::sim
