#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>

namespace common {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes, std::string* error) {
    // Opened without waiting, so that a pipe put in a file's place cannot block the read for
    // ever; anything but a regular file (a folder, a pipe, a device) is refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) {
            *error = path.string() + ": cannot open (" + std::strerror(errno) + ")";
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (error) {
            *error = path.string() + ": not a regular file";
        }
        return std::nullopt;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        if (error) {
            *error = path.string() + ": cannot open (" + std::strerror(errno) + ")";
        }
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
        const std::size_t got = std::fread(chunk, 1, want, file);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < want) {
            break;
        }
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        if (error) {
            *error = path.string() + ": read error";
        }
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string* error) {
    std::string tempName = ".";
    tempName += path.filename().string();
    tempName += ".tmp";
    tempName += std::to_string(::getpid());
    const std::filesystem::path temp = path.parent_path() / tempName;
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        if (error) {
            *error = path.string() + ": cannot write (" + std::strerror(errno) + ")";
        }
        return false;
    }
    // An empty file is written by writing nothing: fwrite may not be handed a null buffer.
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
    }
    if (!ok) {
        if (error) {
            *error = path.string() + ": cannot write (" + std::strerror(errno) + ")";
        }
        std::remove(temp.c_str());
    }
    return ok;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text,
                         std::string* error) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), error);
}

}  // namespace common
