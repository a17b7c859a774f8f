#include "common/data_paths.h"

#include <algorithm>
#include <system_error>

#include "common/number_text.h"

namespace common {

namespace {

std::optional<std::filesystem::path> Refuse(std::string_view name, const std::string& why,
                                            std::string* problem) {
    if (problem) {
        // The name comes from a file that may hold anything.
        *problem = Quoted(name, 64) + " " + why;
    }
    return std::nullopt;
}

// True when path is folder or lies below it; both are absolute and normal.
bool Inside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        // A trailing separator shows up as a last empty element.
        if (f->empty() && std::next(f) == folder.end()) {
            return true;
        }
        if (p == path.end() || *p != *f) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::filesystem::path> DataFilePath(const std::filesystem::path& folder,
                                                  std::string_view name, std::string* problem) {
    return DataFileNames(folder).Path(name, problem);
}

DataFileNames::DataFileNames(const std::filesystem::path& folder) : folder_(folder) {
    std::error_code ec;
    root_ = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, ec), ec);
    if (ec) {
        rootProblem_ = ec.message();
    }
}

std::optional<std::filesystem::path> DataFileNames::Path(std::string_view name, std::string* problem) const {
    if (name.empty()) {
        return Refuse(name, "is an empty file name", problem);
    }
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return Refuse(name, "holds a control character", problem);
    }
    std::string relative(name);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const bool drive = relative.size() >= 2 && relative[1] == ':' &&
                       ((relative[0] >= 'A' && relative[0] <= 'Z') || (relative[0] >= 'a' && relative[0] <= 'z'));
    if (relative.front() == '/' || drive) {
        return Refuse(name, "is an absolute path, not a name inside " + folder_.string(), problem);
    }
    const std::filesystem::path path(relative);
    if (std::any_of(path.begin(), path.end(), [](const std::filesystem::path& step) { return step == ".."; })) {
        return Refuse(name, "steps out with \"..\"; only names inside " + folder_.string() + " are read", problem);
    }
    if (!rootProblem_.empty()) {
        return Refuse(name, "cannot be looked up in " + folder_.string() + " (" + rootProblem_ + ")", problem);
    }
    // Links are followed as the open will follow them: wherever they lead must still be inside.
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(root_ / path, ec);
    if (ec) {
        return Refuse(name, "cannot be looked up in " + folder_.string() + " (" + ec.message() + ")", problem);
    }
    if (!Inside(resolved, root_)) {
        return Refuse(name, "leads through a link to " + resolved.string() + ", outside " + folder_.string(),
                      problem);
    }
    return resolved;
}

}  // namespace common
