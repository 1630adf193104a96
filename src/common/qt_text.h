#pragma once
// The Qt edge of the 8-bit text kept in voltcore (titles, battery names).

#include <QString>
#include <string>
#include <string_view>

namespace volt {

[[nodiscard]] QString Cp1252ToQString(std::string_view cp1252);
[[nodiscard]] std::string QStringToCp1252(const QString& text);

}  // namespace volt
