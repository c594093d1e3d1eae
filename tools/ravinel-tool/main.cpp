// ravinel-tool: the core library without windows, for scripts and checks.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"

namespace {

constexpr const char* kUsage =
    "usage: ravinel-tool COMMAND [ARGS]\n"
    "       ravinel-tool --version\n"
    "\n"
    "commands:\n"
    "  info FILE [--analyze] [--jpg-first] [--bmp-first] [--no-orientation]\n"
    "       [--max-side N] [--no-color-profile]\n"
    "      load FILE and print: kind=K width=W height=H pixelformat=P label=L\n"
    "      (exit status 0 when the picture loaded; 1 when it did not, with reason=R last);\n"
    "      the size is the upright one, or the stored one with --no-orientation\n"
    "  resize IN OUT.bmp --width W --height H [--method area|stretch|halftone]\n"
    "         [--max-side N] [--no-color-profile] [--background checker|RRGGBB]\n"
    "      load IN, resize it to W x H and write a 24-bit BMP (default method: area)\n"
    "  process IN OUT.bmp --width W --height H [--reduct N] [--expand N] [--color N]\n"
    "          [--flt-reduct XXXX] [--flt-expand XXXX] [--flt-ogsize XXXX]\n"
    "          [--dither] [--3dnow] [--verbose] [--max-side N] [--no-color-profile]\n"
    "          [--background checker|RRGGBB]\n"
    "      load IN and make the display picture of W x H as an image window does:\n"
    "      methods 0 stretch, 1 halftone, 2 area (default 2); colour mode 0 24-bit,\n"
    "      1 halftone 8-bit, 2 8-bit, 3 4-bit, 4 halftone 1-bit (default 0); filter\n"
    "      texts as in the settings file (default 0000); --verbose prints the stages\n"
    "  settings [--ini FILE]\n"
    "      read the viewer's settings file (defaults when it is missing) and write it\n"
    "      back as a start and an end of the viewer would; print the path written.\n"
    "      Without --ini: $RAVINEL_INI, else ravinel.ini beside this tool when that\n"
    "      folder is writable, else $XDG_CONFIG_HOME/ravinel/ravinel.ini\n"
    "  list DIR [--sort N]\n"
    "      list the files of DIR sorted by mode N (0/1 name up/down, 2/3 natural name,\n"
    "      4/5 size, 6/7 time; 8 and above: as read; default 0), one line each:\n"
    "      name, tab, size, tab, time; control characters in names are escaped as\n"
    "      ls -b does (\\n, \\t, \\ooo) and a backslash is doubled\n"
    "  thumb FILE OUT.bmp [--image-size S] [--low] [--screen-bits B]\n"
    "        [--catalog-home DIR] [--use-catalog] [--catalog-first] [--max-side N]\n"
    "        [--no-color-profile] [--freedesktop]\n"
    "      make FILE's thumbnail as the browser does (default size 100, high quality,\n"
    "      24-bit screen), write it and print its description (exit status 1 when\n"
    "      FILE is not shown as a picture)\n"
    "  thumbs DIR OUTDIR [--image-size S] [--low] [--max-side N] [--no-color-profile]\n"
    "         [--freedesktop]\n"
    "      make the thumbnail of every file of DIR as OUTDIR/NAME.bmp and print the\n"
    "      files examined, thumbnails made and files per second; a file that fails is\n"
    "      reported and the others go on (then files failed: N, exit status 1); a\n"
    "      progress bar on a terminal\n"
    "  --freedesktop: read valid entries of the desktop's shared thumbnails\n"
    "      ($XDG_CACHE_HOME/thumbnails) and write the ones missing; OUT.bmp and OUTDIR\n"
    "      may then be left out\n"
    "  plugins\n"
    "      list the decoder plug-ins found in $SUSIE_PLUGIN_DIR and beside this tool,\n"
    "      one line each: file, tab, API version, tab, masks, tab, name\n"
    "  archive list ARC\n"
    "      list the members of the archive ARC, one line each: name, tab, original\n"
    "      size, tab, time\n"
    "  archive info ARC MEMBER [--jpg-first] [--bmp-first]\n"
    "      load MEMBER of ARC as the viewer does and print the line of info\n"
    "  (archiver modules are loaded from $RAVINEL_ARCHIVER_DIR, else beside this tool)\n"
    "\n"
    "Pictures are decoded through the picture plug-ins found as for plugins.\n"
    "Every command turns pictures upright by their EXIF or TIFF orientation.\n"
    "--max-side N loads pictures up to N pixels on a side (1024 to 32767, default 4096,\n"
    "as the viewer's setting); the memory a decode may take stays bounded.\n"
    "Pictures with an embedded ICC profile are converted to sRGB, as the viewer does on a\n"
    "display without a profile; --no-color-profile keeps their stored colours.\n"

    "--background shows pictures with alpha over the 8 x 8 checkerboard (default) or a\n"
    "colour given as RRGGBB, as the viewer's setting.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::cout << kUsage;
        return words.empty() ? 2 : 0;
    }
    if (words[0] == "--version") {
        std::cout << "ravinel-tool " << RAVINEL_VERSION << "\n";
        return 0;
    }
    const std::vector<std::string> args(words.begin() + 1, words.end());
    try {
        if (words[0] == "info") {
            return ravinel::tool::runInfo(args);
        }
        if (words[0] == "resize") {
            return ravinel::tool::runResize(args);
        }
        if (words[0] == "process") {
            return ravinel::tool::runProcess(args);
        }
        if (words[0] == "settings") {
            return ravinel::tool::runSettings(args);
        }
        if (words[0] == "list") {
            return ravinel::tool::runList(args);
        }
        if (words[0] == "thumb") {
            return ravinel::tool::runThumb(args);
        }
        if (words[0] == "thumbs") {
            return ravinel::tool::runThumbs(args);
        }
        if (words[0] == "archive") {
            return ravinel::tool::runArchive(args);
        }
        if (words[0] == "plugins") {
            return ravinel::tool::runPlugins(args);
        }
        throw ravinel::tool::UsageError("unknown command " + words[0]);
    } catch (const ravinel::tool::UsageError& e) {
        std::cerr << "ravinel-tool: " << e.what() << "\n\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "ravinel-tool: " << e.what() << "\n";
        return 2;
    }
}
