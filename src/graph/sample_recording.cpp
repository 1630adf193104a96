#include "graph/sample_recording.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

#include "appearance/color_scheme.h"
#include "files/limit_settings.h"
#include "graph/follower_step.h"
#include "graph/scale_mapping.h"
#include "graph/time_text.h"
#include "monitor/run_title.h"

namespace volt {
namespace {

constexpr std::int32_t kSmallValue = 20;  // |x| below this widens by the "small" column

// One row of the widening table: x >= max gives max = RTZ(x + add, step), x < min gives
// min = RTZ(x - add, step), with the small-value column for |x| < 20.
struct WideningRule {
    std::int32_t SmallAdd;
    std::int32_t SmallStep;
    std::int32_t Add;
    std::int32_t Step;
};

constexpr WideningRule kVoltageWidening{200, 100, 100, 100};  // 1/100 V
constexpr WideningRule kCurrentWidening{200, 10, 1000, 100};  // mA
constexpr WideningRule kCapacityWidening{50, 10, 500, 100};   // mAh
constexpr WideningRule kTemperatureWidening{10, 10, 20, 10};  // degrees

bool Widen(const WideningRule& rule, std::int32_t x, std::int32_t& min, std::int32_t& max) {
    const bool small = x > -kSmallValue && x < kSmallValue;
    const std::int32_t add = small ? rule.SmallAdd : rule.Add;
    const std::int32_t step = small ? rule.SmallStep : rule.Step;
    bool widened = false;
    if (x >= max) {
        max = RoundTowardZero(static_cast<std::int64_t>(x) + add, step);
        widened = true;
    }
    if (x < min) {
        min = RoundTowardZero(static_cast<std::int64_t>(x) - add, step);
        widened = true;
    }
    return widened;
}

struct Quantity {
    SeriesKind Kind;
    SeriesKind LimitLine;
    const WideningRule* Rule;
    std::int32_t CgmHeader::*Min;
    std::int32_t CgmHeader::*Max;
    int ColorEntry;
};

// In the order the append treats them.
constexpr std::array<Quantity, 4> kQuantities = {{
    {SeriesKind::Voltage, SeriesKind::MaxLineVoltage, &kVoltageWidening, &CgmHeader::VoltageMin,
     &CgmHeader::VoltageMax, kVoltageColor},
    {SeriesKind::Current, SeriesKind::Current, &kCurrentWidening, &CgmHeader::CurrentMin,
     &CgmHeader::CurrentMax, kCurrentColor},
    {SeriesKind::Capacity, SeriesKind::MaxLineCapacity, &kCapacityWidening, &CgmHeader::CapacityMin,
     &CgmHeader::CapacityMax, kCapacityArea},
    {SeriesKind::Temperature, SeriesKind::MaxLineTemp, &kTemperatureWidening,
     &CgmHeader::TemperatureMin, &CgmHeader::TemperatureMax, kTemperatureColor},
}};

struct LimitLine {
    SeriesKind Kind;
    std::int32_t CgmHeader::*Limit;
    std::int32_t CgmHeader::*Min;
    std::int32_t CgmHeader::*Max;
    int ColorEntry;
    LimitButton Button;
};

constexpr std::array<LimitLine, 3> kLimitLines = {{
    {SeriesKind::MaxLineVoltage, &CgmHeader::VoltageLimit, &CgmHeader::VoltageMin,
     &CgmHeader::VoltageMax, kVoltageColor, LimitButton::Voltage},
    {SeriesKind::MaxLineCapacity, &CgmHeader::CapacityLimit, &CgmHeader::CapacityMin,
     &CgmHeader::CapacityMax, kCapacityColor, LimitButton::Capacity},
    {SeriesKind::MaxLineTemp, &CgmHeader::TemperatureLimit, &CgmHeader::TemperatureMin,
     &CgmHeader::TemperatureMax, kTemperatureColor, LimitButton::Temperature},
}};

void CloseRun(RecordingWindow& window) {
    window.SetCaption(EndTitle(window.Caption()));
    window.DetachFromChannels();
}

std::string FixedTwo(double value, char decimalSeparator) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 2);
    std::string text(buffer.data(), result.ptr);
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

}  // namespace

std::int32_t RoundTowardZero(std::int64_t value, std::int32_t step) noexcept {
    const std::int64_t rounded = step == 0 ? value : (value / step) * step;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(rounded, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

std::int32_t CelsiusToFahrenheit(std::int32_t celsius) noexcept {
    // 5 x (1.8 c + 32) = 9 c + 160 is exact; 9 c + 160 is never 2.5 off a multiple of 5, so
    // rounding to the nearest integer never meets a half.
    const std::int64_t fifths = 9 * static_cast<std::int64_t>(celsius) + 160;
    std::int64_t whole = fifths / 5;
    const std::int64_t rest = fifths % 5;
    if (rest >= 3) {
        ++whole;
    } else if (rest <= -3) {
        --whole;
    }
    return static_cast<std::int32_t>(whole);
}

bool AppendSample(GraphModel& model, RecordingWindow& window, std::uint8_t mode,
                  const SampleReading& reading) {
    GraphDocument& doc = model.Document();
    CgmHeader& h = doc.Header;
    if (doc.ListTail->TimeIndex >= kMaxSampleTime) {
        CloseRun(window);
        return false;
    }
    const bool fahrenheit = reading.Temperature >= kFahrenheitMarker;
    SampleValues values;
    values.Voltage = reading.Voltage;
    values.Current = reading.Current;
    values.Capacity = reading.Capacity;
    values.Temperature = reading.Temperature % kFahrenheitMarker;
    values.Cells = reading.Cells;
    const SampleRecord* node = AppendSampleNode(doc, values);
    if (node == nullptr) {
        CloseRun(window);
        window.ShowMessage(kOutOfMemoryMessage);
        return false;
    }
    h.Fahrenheit = fahrenheit ? 1 : 0;

    if (h.SampleCount == 0) {
        const LimitSettings& limits = model.Limits();
        const std::int64_t v = values.Voltage;
        if (mode == 2) {
            h.VoltageMax = RoundTowardZero(v + 400, 1);
            h.VoltageMin = RoundTowardZero(v - 100, 1);
        } else if (mode == 1) {
            h.VoltageMax = RoundTowardZero(v + 100, 1);
            h.VoltageMin = RoundTowardZero(v - 400, 1);
        } else {
            h.VoltageMax = limits.VoltageMax;
            h.VoltageMin = limits.VoltageMin;
        }
        h.CurrentMax = limits.CurrentMax;
        h.CurrentMin = limits.CurrentMin;
        h.CapacityMax = limits.CapacityMax;
        h.CapacityMin = limits.CapacityMin;
        h.TemperatureMax =
            fahrenheit ? CelsiusToFahrenheit(limits.TemperatureMax) : limits.TemperatureMax;
        h.TemperatureMin =
            fahrenheit ? CelsiusToFahrenheit(limits.TemperatureMin) : limits.TemperatureMin;
        doc.CapacityTrack.store(values.Capacity, std::memory_order_relaxed);
        doc.TemperatureTrack.store(values.Temperature, std::memory_order_relaxed);
    }

    const ColorScheme& colors = model.Colors();
    const bool smoothing = IsOn(h.Smoothing);
    for (const Quantity& q : kQuantities) {
        const std::int32_t x = MeasuredValue(q.Kind, *node);
        std::int32_t& min = h.*q.Min;
        std::int32_t& max = h.*q.Max;
        std::atomic<std::int32_t>* follower = q.Kind == SeriesKind::Capacity ? &doc.CapacityTrack
                                              : q.Kind == SeriesKind::Temperature
                                                  ? &doc.TemperatureTrack
                                                  : nullptr;
        const LiveAppend outcome = model.Series(q.Kind).AppendLive(
            node->TimeIndex, [&] { return Widen(*q.Rule, x, min, max); },
            [&] {
                double axis = 0.0;
                if (follower != nullptr && smoothing) {
                    const std::int32_t moved =
                        MoveFollowerLive(follower->load(std::memory_order_relaxed), x,
                                         q.Kind == SeriesKind::Capacity);
                    follower->store(moved, std::memory_order_relaxed);
                    axis = std::max(ScaleToAxis(moved, min, max), 0.0);
                } else {
                    if (follower != nullptr) {
                        follower->store(x, std::memory_order_relaxed);
                    }
                    axis = ScaleToAxis(x, min, max);
                }
                return ChartPoint{static_cast<float>(axis), colors.Get(q.ColorEntry)};
            });
        if (outcome == LiveAppend::Widened) {
            model.StartSeriesRefill(q.Kind);
            // A limit line is drawn against its quantity's range: a line left on the old range
            // would show a step where the range changed, so it is rebuilt as well.
            if (q.LimitLine != q.Kind) {
                model.StartSeriesRefill(q.LimitLine);
            }
        }
    }

    for (const LimitLine& line : kLimitLines) {
        (void)model.Series(line.Kind).AppendLive(
            node->TimeIndex, [] { return false; },
            [&] {
                return ChartPoint{
                    static_cast<float>(ScaleToAxis(h.*line.Limit, h.*line.Min, h.*line.Max)),
                    colors.Get(line.ColorEntry)};
            });
    }

    ++h.SampleCount;
    doc.Modified = kFlagOn;
    if (!IsOn(doc.PointerInPlot)) {
        window.ShowValueLabels({values.Voltage, values.Current, values.Capacity,
                                values.Temperature + (fahrenheit ? kFahrenheitMarker : 0), -1});
    }
    return true;
}

void SetRunInfo(GraphDocument& document, int channel, std::uint8_t mode,
                std::uint8_t batteryType) noexcept {
    document.Header.Channel = static_cast<std::uint8_t>(channel);
    document.Header.Mode = mode;
    document.Header.BatteryType = batteryType;
}

void SetLimits(GraphModel& model, std::int32_t voltageLimit, std::int32_t capacityLimit,
               std::int32_t temperatureLimit, std::int32_t /*fourth*/) {
    const std::array<std::int32_t, 3> limits = {voltageLimit, capacityLimit, temperatureLimit};
    CgmHeader& h = model.Document().Header;
    for (std::size_t i = 0; i < kLimitLines.size(); ++i) {
        const LimitLine& line = kLimitLines[i];
        const std::int32_t value = limits[i];
        if (value != h.*line.Limit) {
            h.*line.Limit = value;
            model.StartSeriesRefill(line.Kind);
        }
        LimitButtonState& button = model.Button(line.Button);
        button.Visible = value != 0;
        if (value != 0) {
            button.Hint = std::to_string(value);
        }
    }
}

ValueLabelTexts FormatValueLabels(const ValueLabelValues& values, char decimalSeparator) {
    ValueLabelTexts texts;
    texts.Voltage = FixedTwo(values.Voltage / 100.0, decimalSeparator) + " V";
    texts.Current = FixedTwo(values.Current / 1000.0, decimalSeparator) + " A";
    texts.Capacity = std::to_string(values.Capacity) + " mAh";
    texts.Temperature = values.Temperature < kFahrenheitMarker
                            ? std::to_string(values.Temperature) + " C"
                            : std::to_string(values.Temperature % kFahrenheitMarker) + " F";
    texts.Time = values.Time < 0 ? std::string("Direct") : TimeText(values.Time);
    return texts;
}

}  // namespace volt
