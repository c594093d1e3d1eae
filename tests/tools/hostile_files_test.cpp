// Tiny files that declare huge pictures, opened by ravinel-tool in a child process that may
// not make one large allocation (AddressSanitizer stops it) and whose peak memory is
// measured (pixel stores mapped straight from the system escape the sanitizer).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

extern char** environ;

namespace ravinel {
namespace {

namespace fs = std::filesystem;

// Far below what any of the files cost when decoded (324 MiB and up), well above what the
// tool needs to refuse them under the sanitizers (about 43 MiB).
constexpr long kMaxPeakKiB = 128 * 1024;

const fs::path kCorpus = RAVINEL_CORPUS_DIR;

const std::vector<fs::path>& hostileFiles() {
    static const std::vector<fs::path> files = {
        kCorpus / "spi_ifgif/hostile-screen-47161x5375.gif",
        kCorpus / "spi_ifwebp/hostile-lossless-16383.webp",
        kCorpus / "graphic_loader/hostile-progressive-18000.jpg",
        kCorpus / "spi_iftiff/hostile-no-strips-16000.tif",
        kCorpus / "spi_ifpng/hostile-ihdr-16000.png",
        kCorpus / "graphic_loader/hostile-rle8-18000.bmp",
    };
    return files;
}

struct ToolRun {
    bool exited = false;
    int status = -1;
    long peakKiB = 0;
    std::string output;
};

// The child's environment: ours with a 64 MiB cap on single allocations and only the
// plug-ins beside the tool.
std::vector<std::string> childEnvironment() {
    std::vector<std::string> variables;
    std::string asan = "ASAN_OPTIONS=max_allocation_size_mb=64";
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (variable.starts_with("ASAN_OPTIONS=")) {
            asan = variable + ":max_allocation_size_mb=64";
        } else if (!variable.starts_with("SUSIE_PLUGIN_DIR=")) {
            variables.push_back(variable);
        }
    }
    variables.push_back(asan);
    return variables;
}

ToolRun runTool(std::vector<std::string> args) {
    args.insert(args.begin(), RAVINEL_TOOL);
    const std::vector<std::string> environment = childEnvironment();
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : environment) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    envp.push_back(nullptr);

    int pipe[2];
    if (::pipe(pipe) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipe[1], STDOUT_FILENO);
        close(pipe[0]);
        close(pipe[1]);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(pipe[1]);
    ToolRun run;
    char buffer[512];
    for (ssize_t n; (n = read(pipe[0], buffer, sizeof buffer)) > 0;) {
        run.output.append(buffer, static_cast<size_t>(n));
    }
    close(pipe[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        ADD_FAILURE() << "lost the child";
        return run;
    }
    run.exited = WIFEXITED(status);
    run.status = run.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    run.peakKiB = usage.ru_maxrss;
    return run;
}

// By extension (the plug-ins and the registered decoders) and by content with the own
// decoders first: each way refuses the picture from its header, as not loaded.
TEST(HostileFiles, InfoRefusesEachBeforeDecoding) {
    for (const fs::path& file : hostileFiles()) {
        for (const bool ownFirst : {false, true}) {
            SCOPED_TRACE(file.filename().string() + (ownFirst ? " own decoders first" : ""));
            std::vector<std::string> args = {"info", file.string()};
            if (ownFirst) {
                args.insert(args.end(), {"--analyze", "--jpg-first", "--bmp-first"});
            }
            const ToolRun run = runTool(args);
            EXPECT_TRUE(run.exited) << "signal " << run.status;
            EXPECT_EQ(run.status, 1);
            EXPECT_TRUE(run.output.starts_with("kind=0 ")) << run.output;
            EXPECT_LT(run.peakKiB, kMaxPeakKiB);
        }
    }
}

// A batch over all of them at once on every thread: no thumbnail, no cost.
TEST(HostileFiles, ThumbnailBatchMakesNoneOfThem) {
    const testing::TempDir folder;
    const testing::TempDir thumbnails;
    for (const fs::path& file : hostileFiles()) {
        fs::copy_file(file, folder.path(file.filename().string()));
    }
    const ToolRun run = runTool({"thumbs", folder.path(""), thumbnails.path("")});
    EXPECT_TRUE(run.exited) << "signal " << run.status;
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("thumbnails made: 0\n"), std::string::npos) << run.output;
    EXPECT_LT(run.peakKiB, kMaxPeakKiB);
}

}  // namespace
}  // namespace ravinel
