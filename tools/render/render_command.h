// `vaelo-book render`: lays one article of a book container out and paints it through the
// real Qt surface, off screen, into a PNG. It is how a publisher previews a page before
// shipping a book, and how we look at the text view's work.
//
//   vaelo-book render FILE N --width W --height H [--top ROW] [--mark START:END] [--titlebox]
//                    [--font FACE] [--size PX] -o out.png
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vaelo::tools {

struct RenderOptions {
    std::string container;
    int article = 0;
    int width = 0;
    int height = 0;
    std::uint16_t topRow = 0;
    std::uint16_t markStart = 0;
    std::uint16_t markEnd = 0;
    bool titleBox = false;
    std::u16string face;
    int fontSize = 0;
    std::string output;
};

// Reads the arguments that follow "render" (a leading "render" is skipped). nullopt with the
// reason in *error when they do not make a render.
std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args,
                                             std::string* error);

// Runs the command: 0 when the PNG was written, 2 for bad arguments, 1 for any other failure,
// each failure explained on standard error.
int RunRenderCommand(const std::vector<std::string>& args);

}  // namespace vaelo::tools
