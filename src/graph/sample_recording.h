#pragma once
// The recording tick hands a channel's latest reading to its graph window once per second:
// AppendSample puts it at the tail of the sample list, widens the ranges a value leaves, and
// adds the new point to each series at once, or starts a refill of a series whose range changed.
// After an accepted sample the tick stores the run's identity (SetRunInfo) and the charger's
// limits (SetLimits). GUI thread.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/cell_count.h"
#include "common/program_messages.h"
#include "graph/graph_model.h"

namespace volt {

inline constexpr std::int32_t kMaxSampleTime = 28800;    // seconds: 8 hours at one sample a second
inline constexpr std::int32_t kFahrenheitMarker = 1000;  // a reading of 1000 or more is in F

// One reading as the recording tick passes it.
struct SampleReading {
    std::int32_t Voltage = 0;                      // 1/100 V
    std::int32_t Current = 0;                      // mA
    std::int32_t Capacity = 0;                     // mAh
    std::int32_t Temperature = 0;                  // degrees, 1000 added for Fahrenheit
    std::array<std::int16_t, kCellCount> Cells{};  // 1/100 V, cell 1 first
};

// What the value labels of the window show; a negative Time shows as "Direct".
struct ValueLabelValues {
    std::int32_t Voltage = 0;      // 1/100 V
    std::int32_t Current = 0;      // mA
    std::int32_t Capacity = 0;     // mAh
    std::int32_t Temperature = 0;  // degrees, 1000 added for Fahrenheit
    std::int32_t Time = -1;        // seconds

    friend bool operator==(const ValueLabelValues&, const ValueLabelValues&) = default;
};

// What AppendSample needs of its graph window and of the main window.
class RecordingWindow {
  public:
    virtual ~RecordingWindow() = default;
    // The window caption, Windows-1252.
    [[nodiscard]] virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view cp1252Caption) = 0;
    // Clears every channel reference of the main window that points at this window.
    virtual void DetachFromChannels() = 0;
    // A message box with the text.
    virtual void ShowMessage(std::string_view text) = 0;
    // The five value labels (ccVoltage ... ccTime), see FormatValueLabels.
    virtual void ShowValueLabels(const ValueLabelValues& values) = 0;
};

// (value div step) x step, the division truncated toward zero; the result is held in 32 bits.
[[nodiscard]] std::int32_t RoundTowardZero(std::int64_t value, std::int32_t step) noexcept;

// degrees Celsius x 1.8 + 32, to the nearest integer (no value lands on a half).
[[nodiscard]] std::int32_t CelsiusToFahrenheit(std::int32_t celsius) noexcept;

// Returns false when the window takes no more samples (the list is full, or no node could be
// allocated: "Out of Memory"); its caption then ends in "[ END ]" and no channel refers to it.
[[nodiscard]] bool AppendSample(GraphModel& model, RecordingWindow& window, std::uint8_t mode,
                                const SampleReading& reading);

// Channel, Mode and BatteryType of the run.
void SetRunInfo(GraphDocument& document, int channel, std::uint8_t mode,
                std::uint8_t batteryType) noexcept;

// Stores a changed limit and refills its line; a limit's button is shown with the limit as its
// hint while the limit is not 0. The fourth value is accepted and ignored.
void SetLimits(GraphModel& model, std::int32_t voltageLimit, std::int32_t capacityLimit,
               std::int32_t temperatureLimit, std::int32_t fourth);

// The texts of the labels ccVoltage, ccCurrent, ccCapacity, ccTemperature, ccTime.
struct ValueLabelTexts {
    std::string Voltage;      // "%.2f V" of volts
    std::string Current;      // "%.2f A" of amperes
    std::string Capacity;     // "%d mAh"
    std::string Temperature;  // "%d C", or "%d F" of the reading mod 1000
    std::string Time;         // "Direct" for a negative time, else TimeText

    friend bool operator==(const ValueLabelTexts&, const ValueLabelTexts&) = default;
};
[[nodiscard]] ValueLabelTexts FormatValueLabels(const ValueLabelValues& values,
                                                char decimalSeparator = '.');

}  // namespace volt
