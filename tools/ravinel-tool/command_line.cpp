#include "command_line.h"

#include <charconv>

namespace ravinel::tool {

CommandLine::CommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                         const std::set<std::string>& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.starts_with("--")) {
            const std::string name = a.substr(2);
            if (flags.count(name) != 0) {
                flags_.insert(name);
            } else if (options.count(name) != 0) {
                if (i + 1 >= args.size()) {
                    throw UsageError("--" + name + " needs a value");
                }
                options_[name] = args[++i];
            } else {
                throw UsageError("unknown option " + a);
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::string CommandLine::option(const std::string& name, const std::string& fallback) const {
    auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second;
}

long CommandLine::requiredNumber(const std::string& name, long min, long max) const {
    auto it = options_.find(name);
    if (it == options_.end()) {
        throw UsageError("--" + name + " is required");
    }
    const std::string& text = it->second;
    long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) {
        throw UsageError("--" + name + " must be a whole number from " + std::to_string(min) +
                         " to " + std::to_string(max));
    }
    return value;
}

long CommandLine::number(const std::string& name, long fallback, long min, long max) const {
    return options_.count(name) == 0 ? fallback : requiredNumber(name, min, max);
}

}  // namespace ravinel::tool
