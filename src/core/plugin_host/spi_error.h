#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// Failures of the Susie plug-in host.
class SpiError : public std::runtime_error {
  public:
    explicit SpiError(const std::string& message) : std::runtime_error(message) {}
};

// A second plug-in host was created while one exists.
class SpiDupCreateSpisError : public SpiError {
  public:
    SpiDupCreateSpisError() : SpiError("TSPIs は複数生成できません") {}
};

// The plug-in's shared object could not be loaded; detail is the dynamic linker's reason.
class SpiFOpenErrorSpiError : public SpiError {
  public:
    SpiFOpenErrorSpiError(const std::string& path, std::string detail)
        : SpiError(path + ":Susie Pluginがロードできませんでした"), detail_(std::move(detail)) {}
    const std::string& detail() const { return detail_; }

  private:
    std::string detail_;
};

// An export that the plug-in's kind or a call needs is missing.
class SpiInvalidApiError : public SpiError {
  public:
    SpiInvalidApiError(const std::string& exportName, const std::string& fileName)
        : SpiError(exportName + "は[" + fileName + "]では使えないSusie Plugin APIです") {}
};

// No plug-in (or fallback decoder) turned the data into a picture.
class InvalidGraphicError : public std::runtime_error {
  public:
    explicit InvalidGraphicError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ravinel
