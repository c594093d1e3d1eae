#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ravinel::testing {

// Writes ViX catalog files record by record, lengths given or taken from the payload.
class VixCatalogBuilder {
  public:
    VixCatalogBuilder() : bytes_{0x56, 0x69, 0x58, 0x20, 0x00, 0xFF} {}

    VixCatalogBuilder& marker(uint16_t tag) {
        u16(tag);
        return *this;
    }
    VixCatalogBuilder& record(uint16_t tag, uint32_t length, std::span<const uint8_t> payload) {
        u16(tag);
        u32(length);
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
        return *this;
    }
    VixCatalogBuilder& record(uint16_t tag, std::span<const uint8_t> payload) {
        return record(tag, static_cast<uint32_t>(payload.size()), payload);
    }
    // A text record with its NUL.
    VixCatalogBuilder& text(uint16_t tag, const std::string& text) {
        std::vector<uint8_t> payload(text.begin(), text.end());
        payload.push_back(0);
        return record(tag, payload);
    }
    VixCatalogBuilder& folder(const std::string& path) { return text(0xFF02, path); }
    VixCatalogBuilder& name(const std::string& fileName) { return text(0x0003, fileName); }
    VixCatalogBuilder& size(uint32_t width, uint32_t height, uint32_t bits) {
        std::vector<uint8_t> payload;
        for (uint32_t v : {width, height, bits}) {
            for (int i = 0; i < 4; ++i) {
                payload.push_back(static_cast<uint8_t>(v >> (8 * i)));
            }
        }
        return record(0x0009, payload);
    }
    VixCatalogBuilder& jpeg(std::span<const uint8_t> data) { return record(0x000D, data); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    size_t length() const { return bytes_.size(); }

  private:
    void u16(uint16_t v) {
        bytes_.push_back(static_cast<uint8_t>(v));
        bytes_.push_back(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    std::vector<uint8_t> bytes_;
};

}  // namespace ravinel::testing
