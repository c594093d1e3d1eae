#include "common/launch_target.h"

#include <filesystem>
#include <system_error>

namespace ravinel {

std::string folderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string namePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

LaunchTarget launchTarget(const std::string& argument) {
    LaunchTarget target;
    if (argument.empty()) {
        return target;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(argument, error);
    target.path = error ? argument : absolute.lexically_normal().string();
    if (std::filesystem::is_directory(target.path, error)) {
        target.kind = LaunchTarget::Kind::folder;
        if (target.path.back() != '/') {
            target.path += '/';
        }
        target.lastDir = target.path;
        return target;
    }
    target.lastDir = folderPart(target.path);
    target.kind = std::filesystem::is_regular_file(target.path, error)
                      ? LaunchTarget::Kind::file
                      : LaunchTarget::Kind::missing;
    return target;
}

}  // namespace ravinel
