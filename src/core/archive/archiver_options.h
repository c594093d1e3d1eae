#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ravinel {

enum class ArchiverSwitchKind : uint8_t { number, text, textList };

// One switch of the command lines: its name and where its value lives.
struct ArchiverSwitch {
    const char* name;
    ArchiverSwitchKind kind;
    uint8_t slot;  // index into the numbers or the texts of the options
};

inline constexpr size_t kArchiverNumberSwitches = 63;
inline constexpr size_t kArchiverTextSwitches = 9;

// Every switch in the order the LHA rules write them (jx, the list, among them).
extern const std::array<ArchiverSwitch, kArchiverNumberSwitches + kArchiverTextSwitches + 1>
    kArchiverSwitches;

enum class PackFilter : uint8_t { pfArchiver, pfComponent };

// Bits of ResFileUsage.
enum ResFileUsageBit : uint8_t {
    ruOnPack = 1,
    ruOnUnpack = 2,
    ruOnRemoveItem = 4,
    ruOnUpdate = 8,
};

// The switches from which command lines are built. A number of -1 and an empty text are
// unset. Unknown switch names are programming faults and throw std::invalid_argument.
class ArchiverOptions {
  public:
    ArchiverOptions();

    int8_t number(std::string_view name) const;
    void setNumber(std::string_view name, int8_t value);
    const std::string& text(std::string_view name) const;
    void setText(std::string_view name, std::string value);

    int8_t numberAt(uint8_t slot) const { return numbers_[slot]; }
    const std::string& textAt(uint8_t slot) const { return texts_[slot]; }

    std::vector<std::string> jx;
    std::string userOptions;   // appended unchanged after the switches
    std::string userFileList;  // appended after the member names
    PackFilter packFilter = PackFilter::pfComponent;
    std::string resFileName;
    uint8_t resFileUsage = 0;  // ResFileUsageBit set
    bool includeExtraStreams = true;
    std::string streamSeparator;

  private:
    const ArchiverSwitch& find(std::string_view name, ArchiverSwitchKind kind) const;

    std::array<int8_t, kArchiverNumberSwitches> numbers_;
    std::array<std::string, kArchiverTextSwitches> texts_;
};

// The switches the viewer lists and extracts with: n 1, gd 1, gs 127, jso 1.
void setViewingSwitches(ArchiverOptions& options);

}  // namespace ravinel
