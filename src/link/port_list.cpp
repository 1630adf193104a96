#include "link/port_list.h"

namespace volt {

void AppendPortPaths(std::vector<std::string>& list, std::string_view colonSeparated) {
    while (!colonSeparated.empty()) {
        const std::size_t colon = colonSeparated.find(':');
        const std::string_view entry = colonSeparated.substr(0, colon);
        if (!entry.empty()) {
            list.emplace_back(entry);
        }
        if (colon == std::string_view::npos) {
            break;
        }
        colonSeparated.remove_prefix(colon + 1);
    }
}

}  // namespace volt
