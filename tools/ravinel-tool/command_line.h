#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravinel::tool {

// A mistake in how the tool was called; main prints it with the usage.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The arguments of one subcommand: positional words, "--flag" switches and
// "--name value" options. Unknown flags and options are usage errors.
class CommandLine {
  public:
    CommandLine(const std::vector<std::string>& args, const std::set<std::string>& flags,
                const std::set<std::string>& options);

    const std::vector<std::string>& positional() const { return positional_; }
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    // The option's value, or fallback when it was not given.
    std::string option(const std::string& name, const std::string& fallback) const;
    // The option as a whole number from min to max; a usage error when missing or bad.
    long requiredNumber(const std::string& name, long min, long max) const;
    // The same, with fallback when the option was not given.
    long number(const std::string& name, long fallback, long min, long max) const;

  private:
    std::vector<std::string> positional_;
    std::set<std::string> flags_;
    std::map<std::string, std::string> options_;
};

}  // namespace ravinel::tool
