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
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const std::filesystem::path temp = folder / tempName;
    // The first step that fails gives the reason: later clean-up calls may change errno.
    int reason = 0;
    auto step = [&reason](bool ok) {
        if (!ok && reason == 0) {
            reason = errno != 0 ? errno : EIO;
        }
        return ok;
    };
    errno = 0;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (!step(fd >= 0)) {
        if (error) {
            *error = path.string() + ": cannot write (" + std::strerror(reason) + ")";
        }
        return false;
    }
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = step(n > 0);
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    // On disk before it takes the old file's name: a crash then leaves the old file or the new
    // one, never an empty or half-written one.
    ok = ok && step(::fsync(fd) == 0);
    ok = step(::close(fd) == 0) && ok;
    ok = ok && step(std::rename(temp.c_str(), path.c_str()) == 0);
    if (!ok) {
        if (error) {
            *error = path.string() + ": cannot write (" + std::strerror(reason) + ")";
        }
        std::remove(temp.c_str());
        return false;
    }
    // The rename itself is kept by flushing the folder; a folder that cannot be opened for that
    // (some file systems) still holds the new file.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text,
                         std::string* error) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), error);
}

}  // namespace common
