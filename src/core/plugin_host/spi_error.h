#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/translatable.h"

namespace ravinel {

// The messages of the plug-in host: the windows show them in their own language, the
// tool and the logs print spiMessagePattern filled in.
enum class SpiMessage {
    secondHost,
    pluginNotLoaded,  // %1 the plug-in's path
    invalidApi,       // %1 the export, %2 the plug-in's file
};

// The message's text with %1, %2 for its arguments.
const char* spiMessagePattern(SpiMessage message);

// Failures of the Susie plug-in host. what() is the filled-in pattern.
class SpiError : public std::runtime_error {
  public:
    explicit SpiError(SpiMessage message, std::vector<std::string> arguments = {})
        : std::runtime_error(filledText(spiMessagePattern(message), arguments)),
          message_(message),
          arguments_(std::move(arguments)) {}
    SpiMessage message() const { return message_; }
    const std::vector<std::string>& arguments() const { return arguments_; }

  private:
    SpiMessage message_;
    std::vector<std::string> arguments_;
};

// A second plug-in host was created while one exists.
class SpiDupCreateSpisError : public SpiError {
  public:
    SpiDupCreateSpisError() : SpiError(SpiMessage::secondHost) {}
};

// The plug-in's shared object could not be loaded; detail is the dynamic linker's reason.
class SpiFOpenErrorSpiError : public SpiError {
  public:
    SpiFOpenErrorSpiError(const std::string& path, std::string detail)
        : SpiError(SpiMessage::pluginNotLoaded, {path}), detail_(std::move(detail)) {}
    const std::string& detail() const { return detail_; }

  private:
    std::string detail_;
};

// An export that the plug-in's kind or a call needs is missing.
class SpiInvalidApiError : public SpiError {
  public:
    SpiInvalidApiError(const std::string& exportName, const std::string& fileName)
        : SpiError(SpiMessage::invalidApi, {exportName, fileName}) {}
};

// No plug-in (or fallback decoder) turned the data into a picture.
class InvalidGraphicError : public std::runtime_error {
  public:
    explicit InvalidGraphicError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ravinel
