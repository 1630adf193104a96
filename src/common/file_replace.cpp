#include "common/file_replace.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ios>
#include <iterator>
#include <system_error>

namespace volt {
namespace {

std::string ErrorText(const std::filesystem::path& path, int error) {
    std::string text = "Cannot create file \"" + path.string() + "\".";
    if (error != 0) {
        text += ' ';
        text += std::strerror(error);
    }
    return text;
}

}  // namespace

std::optional<std::string> ReplaceFileContents(const std::filesystem::path& target,
                                               std::span<const std::uint8_t> bytes) {
    std::filesystem::path temp = target;
    temp += ".tmp~";
    errno = 0;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return ErrorText(target, errno);
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out) {
            const int error = errno;
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return ErrorText(target, error);
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return ErrorText(target, ec.value());
    }
    return std::nullopt;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // A folder opens like a file here, and reading it throws from inside the stream buffer.
    try {
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
}

}  // namespace volt
