#include "scenario.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>
#include <vector>

namespace volt::sim {
namespace {

constexpr double kStepSeconds = 1.0;
constexpr double kSupplyVolts = 15.0;
constexpr double kSupplySagPerAmp = 0.03;  // V per A drawn by a charging channel
constexpr double kRestSeconds = 300.0;     // between the halves of a cycle

struct OcvPoint {
    double soc;
    double volts;
};

// Open-circuit voltage of one cell against its state of charge.
constexpr OcvPoint kLipoOcv[] = {{0.00, 3.30}, {0.05, 3.55}, {0.10, 3.66}, {0.20, 3.72},
                                 {0.30, 3.76}, {0.40, 3.80}, {0.50, 3.85}, {0.60, 3.90},
                                 {0.70, 3.97}, {0.80, 4.03}, {0.90, 4.10}, {1.00, 4.20}};
constexpr OcvPoint kNimhOcv[] = {{0.00, 0.95}, {0.03, 1.05}, {0.10, 1.18}, {0.20, 1.22},
                                 {0.50, 1.25}, {0.80, 1.29}, {0.95, 1.35}, {1.00, 1.40}};

double Ocv(std::span<const OcvPoint> curve, double soc) {
    soc = std::clamp(soc, 0.0, 1.0);
    for (std::size_t i = 1; i < curve.size(); ++i) {
        if (soc <= curve[i].soc) {
            const OcvPoint& a = curve[i - 1];
            const OcvPoint& b = curve[i];
            return a.volts + (b.volts - a.volts) * (soc - a.soc) / (b.soc - a.soc);
        }
    }
    return curve.back().volts;
}

// Uniform in [low, high) from the generator's raw output, the same on every platform.
double Uniform(std::mt19937& rng, double low, double high) {
    return low + (high - low) * (static_cast<double>(rng()) / 4294967296.0);
}

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

struct Chemistry {
    int batteryType;
    std::span<const OcvPoint> ocv;
    int cells;
    bool balanceLead;           // cell voltages reported
    double capacityAh;          // nominal, per cell
    double cellOhms;            // internal resistance with polarisation
    double chargeAmps;          // constant-current phase
    double cvVoltsPerCell;      // constant-voltage phase
    double terminationAmps;     // the charge ends below this
    double dischargeAmps;       //
    double cutoffVoltsPerCell;  // the discharge ends at this terminal voltage
    double kelvinPerWatt;       // steady temperature rise
    int temperatureLimit;
};

constexpr Chemistry kLipo3s{.batteryType = 1,
                            .ocv = kLipoOcv,
                            .cells = 3,
                            .balanceLead = true,
                            .capacityAh = 2.2,
                            .cellOhms = 0.05,
                            .chargeAmps = 2.2,
                            .cvVoltsPerCell = 4.20,
                            .terminationAmps = 0.22,
                            .dischargeAmps = 2.2,
                            .cutoffVoltsPerCell = 3.30,
                            .kelvinPerWatt = 7.0,
                            .temperatureLimit = 45};
// No balance lead on a NiMh pack: its cells read 0. It is only discharged here.
constexpr Chemistry kNimh6{.batteryType = 4,
                           .ocv = kNimhOcv,
                           .cells = 6,
                           .balanceLead = false,
                           .capacityAh = 2.0,
                           .cellOhms = 0.03,
                           .chargeAmps = 1.0,
                           .cvVoltsPerCell = 1.50,
                           .terminationAmps = 0.10,
                           .dischargeAmps = 1.0,
                           .cutoffVoltsPerCell = 1.00,
                           .kelvinPerWatt = 15.0,
                           .temperatureLimit = 50};

enum class Phase { Charge, Discharge, Rest, Idle };

}  // namespace

// One pack on one channel, with the program the charger runs on it.
class Battery {
  public:
    Battery(const Chemistry& chem, std::vector<Phase> program, bool repeat, double startSoc,
            std::mt19937& setup)
        : chem_(chem), program_(std::move(program)), repeat_(repeat) {
        ambient_ = Uniform(setup, 21.5, 24.5);
        temperature_ = ambient_;
        for (int i = 0; i < chem_.cells; ++i) {
            // A little imbalance: cells differ in capacity and in where they start.
            capacityAh_[static_cast<std::size_t>(i)] =
                chem_.capacityAh * Uniform(setup, 0.98, 1.02);
            soc_[static_cast<std::size_t>(i)] = startSoc + Uniform(setup, -0.01, 0.01);
        }
        // The program is running from the first moment on.
        const Phase first = CurrentPhase();
        amps_ = first == Phase::Charge      ? chem_.chargeAmps
                : first == Phase::Discharge ? -chem_.dischargeAmps
                                            : 0.0;
    }

    void Step(double dt) {
        const Phase phase = CurrentPhase();
        double amps = 0;  // positive into the pack
        switch (phase) {
            case Phase::Charge: {
                amps = chem_.chargeAmps;
                const double cvVolts = chem_.cvVoltsPerCell * chem_.cells;
                if (cv_ || PackVolts(amps) >= cvVolts) {
                    cv_ = true;
                    amps = std::clamp((cvVolts - PackVolts(0)) / (chem_.cellOhms * chem_.cells),
                                      0.0, chem_.chargeAmps);
                }
                if (cv_ && amps < chem_.terminationAmps) {
                    NextPhase();
                    amps = 0;
                }
                break;
            }
            case Phase::Discharge:
                amps = -chem_.dischargeAmps;
                if (PackVolts(amps) <= chem_.cutoffVoltsPerCell * chem_.cells) {
                    NextPhase();
                    amps = 0;
                }
                break;
            case Phase::Rest:
                restLeft_ -= dt;
                if (restLeft_ <= 0) {
                    NextPhase();
                }
                break;
            case Phase::Idle:
                break;
        }
        amps_ = amps;
        for (int i = 0; i < chem_.cells; ++i) {
            const auto c = static_cast<std::size_t>(i);
            soc_[c] = std::clamp(soc_[c] + amps * dt / 3600.0 / capacityAh_[c], 0.0, 1.0);
        }
        mah_ += std::abs(amps) * dt / 3.6;
        const double watts = amps * amps * chem_.cellOhms * chem_.cells;
        const double target = ambient_ + chem_.kelvinPerWatt * watts;
        constexpr double kThermalSeconds = 600;
        temperature_ += (target - temperature_) * std::min(1.0, dt / kThermalSeconds);
    }

    [[nodiscard]] double ChargeAmps() const noexcept { return std::max(amps_, 0.0); }

    [[nodiscard]] ChannelMeasurement Measure(std::mt19937& noise) const {
        ChannelMeasurement m;
        const Phase phase = CurrentPhase();
        m.Status = phase == Phase::Charge ? 2 : phase == Phase::Discharge ? 1 : 0;
        m.BatteryType = chem_.batteryType;
        m.Voltage = std::max(0, Round(PackVolts(amps_) * 100) + Jitter(noise));
        m.Current = Round(std::abs(amps_) * 100);
        m.Capacity = Round(mah_);
        m.TemperatureC = Round(temperature_);
        if (chem_.balanceLead) {
            for (int i = 0; i < chem_.cells; ++i) {
                m.Cells[static_cast<std::size_t>(i)] =
                    std::max(0, Round(CellVolts(i, amps_) * 100) + Jitter(noise));
            }
        }
        const bool charging = phase == Phase::Charge;
        m.VoltageLimit =
            Round((charging ? chem_.cvVoltsPerCell : chem_.cutoffVoltsPerCell) * chem_.cells * 100);
        m.CapacityLimit = Round(chem_.capacityAh * 1000 * 1.2);
        m.TemperatureLimit = chem_.temperatureLimit;
        return m;
    }

    // Measurement noise: one digit either way, a quarter of the time each.
    static int Jitter(std::mt19937& noise) {
        const std::uint32_t r = noise() % 8;
        return r == 0 ? -1 : r == 1 ? 1 : 0;
    }

  private:
    [[nodiscard]] Phase CurrentPhase() const noexcept {
        return phaseIndex_ < program_.size() ? program_[phaseIndex_] : Phase::Idle;
    }
    void NextPhase() {
        ++phaseIndex_;
        if (phaseIndex_ == program_.size() && repeat_) {
            phaseIndex_ = 0;
        }
        cv_ = false;
        restLeft_ = kRestSeconds;
        const Phase next = CurrentPhase();
        if (next == Phase::Charge || next == Phase::Discharge) {
            mah_ = 0;  // the charger counts capacity per run
        }
    }
    [[nodiscard]] double CellVolts(int cell, double amps) const {
        return Ocv(chem_.ocv, soc_[static_cast<std::size_t>(cell)]) + amps * chem_.cellOhms;
    }
    [[nodiscard]] double PackVolts(double amps) const {
        double volts = 0;
        for (int i = 0; i < chem_.cells; ++i) {
            volts += CellVolts(i, amps);
        }
        return volts;
    }

    const Chemistry& chem_;
    std::vector<Phase> program_;
    bool repeat_;
    std::size_t phaseIndex_ = 0;
    std::array<double, kSimCells> capacityAh_{};
    std::array<double, kSimCells> soc_{};
    double ambient_ = 22;
    double temperature_ = 22;
    double amps_ = 0;
    double mah_ = 0;
    double restLeft_ = kRestSeconds;
    bool cv_ = false;
};

std::optional<ScenarioKind> ParseScenario(std::string_view name) noexcept {
    for (const ScenarioKind kind : {ScenarioKind::LipoCharge, ScenarioKind::NimhDischarge,
                                    ScenarioKind::Dual, ScenarioKind::Idle, ScenarioKind::Cycle}) {
        if (ScenarioName(kind) == name) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string_view ScenarioName(ScenarioKind kind) noexcept {
    switch (kind) {
        case ScenarioKind::LipoCharge:
            return "lipo-charge";
        case ScenarioKind::NimhDischarge:
            return "nimh-discharge";
        case ScenarioKind::Dual:
            return "dual";
        case ScenarioKind::Idle:
            return "idle";
        case ScenarioKind::Cycle:
            break;
    }
    return "cycle";
}

Scenario::Scenario(ScenarioKind kind, std::uint32_t seed) : noise_(seed ^ 0x5eed5eedu) {
    std::mt19937 setup(seed);
    const bool lipo = kind == ScenarioKind::LipoCharge || kind == ScenarioKind::Dual;
    const bool nimh = kind == ScenarioKind::NimhDischarge || kind == ScenarioKind::Dual;
    if (lipo) {
        channels_[0] = std::make_unique<Battery>(kLipo3s, std::vector{Phase::Charge}, false,
                                                 Uniform(setup, 0.12, 0.20), setup);
    }
    if (nimh) {
        channels_[1] = std::make_unique<Battery>(kNimh6, std::vector{Phase::Discharge}, false,
                                                 Uniform(setup, 0.96, 0.99), setup);
    }
    if (kind == ScenarioKind::Cycle) {
        channels_[0] = std::make_unique<Battery>(
            kLipo3s, std::vector{Phase::Charge, Phase::Rest, Phase::Discharge, Phase::Rest}, true,
            Uniform(setup, 0.12, 0.20), setup);
    }
}

Scenario::~Scenario() = default;
Scenario::Scenario(Scenario&&) noexcept = default;
Scenario& Scenario::operator=(Scenario&&) noexcept = default;

void Scenario::AdvanceTo(double seconds) {
    while (now_ < seconds) {
        const double dt = std::min(kStepSeconds, seconds - now_);
        for (const auto& battery : channels_) {
            if (battery) {
                battery->Step(dt);
            }
        }
        now_ += dt;
    }
}

ChargerMeasurement Scenario::Measure() {
    ChargerMeasurement m{};
    double drawn = 0;
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        if (channels_[c]) {
            m[c] = channels_[c]->Measure(noise_);
            drawn += channels_[c]->ChargeAmps();
        }
    }
    const int supply =
        Round((kSupplyVolts - kSupplySagPerAmp * drawn) * 100) + Battery::Jitter(noise_);
    for (ChannelMeasurement& channel : m) {
        channel.InputVoltage = supply;
    }
    return m;
}

}  // namespace volt::sim
