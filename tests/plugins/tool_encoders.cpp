#include "tests/plugins/tool_encoders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace ravinel::test {
namespace {

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// Runs the command with {in} replaced by a file holding the input and {out} by the file
// the tool writes, whose format it takes from the name's extension.
Bytes encodeWithTool(const std::string& command, const Bytes& input, const std::string& outName) {
    const TemporaryFile in("tool-input.png", input);
    const TemporaryFile out(outName, {});
    std::string line = command;
    replaceAll(line, "{in}", "'" + in.path().string() + "'");
    replaceAll(line, "{out}", "'" + out.path().string() + "'");
    line += " >/dev/null 2>&1";
    const int status = std::system(line.c_str());
    EXPECT_EQ(status, 0) << line;
    if (status != 0) {
        return {};
    }
    std::ifstream read(out.path(), std::ios::binary);
    Bytes written(std::istreambuf_iterator<char>(read), {});
    EXPECT_FALSE(written.empty()) << line;
    return written;
}

}  // namespace

Bytes encodeAvif(const Bytes& png, Coding coding) {
    return coding == Coding::lossless
               ? encodeAvifWith(png, "")
               : encodeWithTool("avifenc --yuv 420 --min 8 --max 8 --speed 10 {in} {out}", png,
                                "tool.avif");
}
Bytes encodeAvifWith(const Bytes& png, const std::string& avifOptions) {
    return encodeWithTool("avifenc --lossless " + avifOptions + " {in} {out}", png, "tool.avif");
}
Bytes encodeHeic(const Bytes& png, Coding coding) {
    return encodeWithTool(coding == Coding::lossless
                              ? "heif-enc -L -p chroma=444 --matrix_coefficients=0 -o {out} {in}"
                              : "heif-enc -q 90 -o {out} {in}",
                          png, "tool.heic");
}
Bytes encodeJxl(const Bytes& png, Coding coding) {
    return encodeWithTool(coding == Coding::lossless ? "cjxl --distance=0 --effort=1 {in} {out}"
                                                     : "cjxl --distance=0.5 --effort=3 {in} {out}",
                          png, "tool.jxl");
}

}  // namespace ravinel::test
