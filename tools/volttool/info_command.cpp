#include <iostream>

#include "command.h"

#include <nlohmann/json.hpp>

#include <array>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

#include "common/cp1252.h"
#include "files/run_file_magic.h"
#include "graph/cgm_header.h"

namespace volt::tool {
namespace {

nlohmann::ordered_json HeaderJson(const CgmHeader& h) {
    nlohmann::ordered_json j;
    j["FileMagic"] = Cp1252ToUtf8(FileMagicText(h));
    j["Mode"] = h.Mode;
    j["BatteryType"] = h.BatteryType;
    j["Channel"] = h.Channel;
    j["VoltageVisible"] = h.VoltageVisible;
    j["CurrentVisible"] = h.CurrentVisible;
    j["CapacityVisible"] = h.CapacityVisible;
    j["TemperatureVisible"] = h.TemperatureVisible;
    j["VoltageLimitShown"] = h.VoltageLimitShown;
    j["VoltageLimit"] = h.VoltageLimit;
    j["CapacityLimitShown"] = h.CapacityLimitShown;
    j["CapacityLimit"] = h.CapacityLimit;
    j["TemperatureLimitShown"] = h.TemperatureLimitShown;
    j["TemperatureLimit"] = h.TemperatureLimit;
    j["Title"] = Cp1252ToUtf8(TitleText(h));
    j["VoltageMax"] = h.VoltageMax;
    j["VoltageMin"] = h.VoltageMin;
    j["CurrentMax"] = h.CurrentMax;
    j["CurrentMin"] = h.CurrentMin;
    j["CapacityMax"] = h.CapacityMax;
    j["CapacityMin"] = h.CapacityMin;
    j["TemperatureMax"] = h.TemperatureMax;
    j["TemperatureMin"] = h.TemperatureMin;
    j["CursorOn"] = h.CursorOn;
    j["Smoothing"] = h.Smoothing;
    j["SampleCount"] = h.SampleCount;
    j["Fahrenheit"] = h.Fahrenheit;
    return j;
}

}  // namespace

namespace {

void PrintInfoUsage(std::ostream& out) {
    out << "usage: volttool info FILE\n"
           "Prints the header of the run file FILE as one JSON object.\n"
           "Exit status: 0 printed, 1 FILE is missing or not a run file, 2 bad arguments.\n";
}

}  // namespace

int RunInfoCommand(std::span<const std::string_view> args, std::istream& /*in*/, std::ostream& out,
                   std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintInfoUsage(out);
        return kExitOk;
    }
    if (args.size() != 1 || args[0].starts_with('-')) {
        err << "volttool info: expected exactly one run file (see volttool info --help)\n";
        return kExitUsage;
    }
    const std::string path(args[0]);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err << "volttool info: " << path << ": cannot open the file\n";
        return kExitFailed;
    }
    std::array<char, kCgmHeaderBytes> buffer{};
    in.read(buffer.data(), buffer.size());
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                                              static_cast<std::size_t>(in.gcount()));
    if (!IsRunFile(bytes)) {
        err << "volttool info: " << path << ": not a run file\n";
        return kExitFailed;
    }
    // Header bytes a short file lacks keep the values of a new graph.
    CgmHeader header;
    ApplyCgmHeaderBytes(header, bytes);
    out << HeaderJson(header).dump(2) << '\n';
    return out ? kExitOk : kExitFailed;
}

}  // namespace volt::tool
