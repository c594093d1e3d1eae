#include "archive/archiver_options.h"

#include <algorithm>
#include <stdexcept>

namespace ravinel {

const std::array<ArchiverSwitch, kArchiverNumberSwitches + kArchiverTextSwitches + 1>
    kArchiverSwitches = {{
        {"a", ArchiverSwitchKind::number, 0},    {"c", ArchiverSwitchKind::number, 1},
        {"e", ArchiverSwitchKind::number, 2},    {"f", ArchiverSwitchKind::number, 3},
        {"h", ArchiverSwitchKind::number, 4},    {"i", ArchiverSwitchKind::number, 5},
        {"l", ArchiverSwitchKind::number, 6},    {"m", ArchiverSwitchKind::number, 7},
        {"n", ArchiverSwitchKind::number, 8},    {"o", ArchiverSwitchKind::number, 9},
        {"p", ArchiverSwitchKind::number, 10},   {"r", ArchiverSwitchKind::number, 11},
        {"s", ArchiverSwitchKind::number, 12},   {"t", ArchiverSwitchKind::number, 13},
        {"u", ArchiverSwitchKind::number, 14},   {"w", ArchiverSwitchKind::text, 0},
        {"x", ArchiverSwitchKind::number, 15},   {"y", ArchiverSwitchKind::number, 16},
        {"z", ArchiverSwitchKind::number, 17},   {"jc", ArchiverSwitchKind::number, 18},
        {"jd", ArchiverSwitchKind::number, 19},  {"je", ArchiverSwitchKind::number, 20},
        {"jf", ArchiverSwitchKind::number, 21},  {"jh", ArchiverSwitchKind::number, 22},
        {"ji", ArchiverSwitchKind::number, 23},  {"jm", ArchiverSwitchKind::number, 24},
        {"jn", ArchiverSwitchKind::number, 25},  {"jo", ArchiverSwitchKind::text, 1},
        {"job", ArchiverSwitchKind::text, 2},    {"jp", ArchiverSwitchKind::number, 26},
        {"jr", ArchiverSwitchKind::number, 27},  {"jsb", ArchiverSwitchKind::number, 28},
        {"jsc", ArchiverSwitchKind::number, 29}, {"jsd", ArchiverSwitchKind::number, 30},
        {"jse", ArchiverSwitchKind::number, 31}, {"jsf", ArchiverSwitchKind::number, 32},
        {"jsl", ArchiverSwitchKind::number, 33}, {"jso", ArchiverSwitchKind::number, 34},
        {"jss", ArchiverSwitchKind::number, 35}, {"jst", ArchiverSwitchKind::number, 36},
        {"jsv", ArchiverSwitchKind::number, 37}, {"jsz", ArchiverSwitchKind::number, 38},
        {"jw", ArchiverSwitchKind::number, 39},  {"jx", ArchiverSwitchKind::textList, 0},
        {"jyc", ArchiverSwitchKind::number, 40}, {"jyd", ArchiverSwitchKind::number, 41},
        {"jyk", ArchiverSwitchKind::number, 42}, {"jyn", ArchiverSwitchKind::number, 43},
        {"jyo", ArchiverSwitchKind::number, 44}, {"jz", ArchiverSwitchKind::text, 3},
        {"ga", ArchiverSwitchKind::number, 45},  {"gd", ArchiverSwitchKind::number, 46},
        {"ge", ArchiverSwitchKind::number, 47},  {"gf", ArchiverSwitchKind::number, 48},
        {"gj", ArchiverSwitchKind::number, 49},  {"gm", ArchiverSwitchKind::number, 50},
        {"gn", ArchiverSwitchKind::number, 51},  {"go", ArchiverSwitchKind::number, 52},
        {"gp", ArchiverSwitchKind::number, 53},  {"gr", ArchiverSwitchKind::text, 4},
        {"gs", ArchiverSwitchKind::number, 54},  {"gu", ArchiverSwitchKind::number, 55},
        {"gw", ArchiverSwitchKind::number, 56},  {"gya", ArchiverSwitchKind::number, 57},
        {"gyc", ArchiverSwitchKind::number, 58}, {"gyd", ArchiverSwitchKind::text, 5},
        {"gye", ArchiverSwitchKind::text, 6},    {"gyo", ArchiverSwitchKind::number, 59},
        {"gyq", ArchiverSwitchKind::number, 60}, {"gys", ArchiverSwitchKind::number, 61},
        {"gyt", ArchiverSwitchKind::text, 7},    {"gyw", ArchiverSwitchKind::text, 8},
        {"gyx", ArchiverSwitchKind::number, 62},
    }};

ArchiverOptions::ArchiverOptions() {
    numbers_.fill(-1);
}

const ArchiverSwitch& ArchiverOptions::find(std::string_view name, ArchiverSwitchKind kind) const {
    const auto it = std::find_if(kArchiverSwitches.begin(), kArchiverSwitches.end(),
                                 [&](const ArchiverSwitch& s) { return s.name == name; });
    if (it == kArchiverSwitches.end() || it->kind != kind) {
        throw std::invalid_argument("no archiver switch " + std::string(name) + " of that kind");
    }
    return *it;
}

int8_t ArchiverOptions::number(std::string_view name) const {
    return numbers_[find(name, ArchiverSwitchKind::number).slot];
}

void ArchiverOptions::setNumber(std::string_view name, int8_t value) {
    numbers_[find(name, ArchiverSwitchKind::number).slot] = value;
}

const std::string& ArchiverOptions::text(std::string_view name) const {
    return texts_[find(name, ArchiverSwitchKind::text).slot];
}

void ArchiverOptions::setText(std::string_view name, std::string value) {
    texts_[find(name, ArchiverSwitchKind::text).slot] = std::move(value);
}

void setViewingSwitches(ArchiverOptions& options) {
    options.setNumber("n", 1);
    options.setNumber("gd", 1);
    options.setNumber("gs", 127);
    options.setNumber("jso", 1);
}

}  // namespace ravinel
