// beamworks-solve [--data DIR] [--step DEGREES] [--time-limit SECONDS] [--max-elements K]
//                 [--no-carry] [--par] [-o OUT] LEVEL
//
// For level designers: loads the models (as beamworks-check finds them: DIR, the working
// directory, or the installed data folder; see DataFolder.h) and the level, and searches for the
// fewest moves that solve it: turns of mirrors, half mirrors and filters (to headings and tilts
// that are whole multiples of DEGREES, 15 by default, or keeping their own), and when no turns
// do, carries of their holders too (see solver/Solver.h); with --no-carry turns alone, with
// --max-elements only solutions that change at most K elements count (a level designer's check
// that a level cannot be solved by accident), with --par it also finds the fewest moves carries
// included. On success it writes the level file with only those elements' lines changed or
// added (every other byte kept) to OUT or standard output: turn and tilt lines for a turn, the
// position and added turn lines for a carry; it checks that the written text loads and is solved,
// and reports on standard error
//   level4.txt: solved by turning 3 elements (118 states, 9 ms)
//   level30.txt: solved by turning 4 elements and carrying 1 (6 moves, 9180 states, 820 ms)
// Exit status: 0 solved (a level solved already comes back unchanged), 1 no solution in the
// search space or wrong usage, 2 a level, model or output file that cannot be read or written,
// 3 the time limit (60 s by default) reached, 4 a written solution that did not check out.
// Never opens a window.

#include "DataFolder.h"
#include "QuietConsole.h"
#include "elements/ActiveObject.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "model/GameModels.h"
#include "rules/GameRules.h"
#include "solver/Solver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Names the build tree the binary comes from (see the game's main).
[[gnu::used]] const char BUILD_TREE_MARK[] = "beamworks build tree: " BEAMWORKS_BUILD_TREE;

// A property directive of the level text: where its line ends and, for a single number, where
// the number's text lies.
struct Property {
    char prefix = '#'; ///< '#' addresses the object, '+' its first child
    std::string word;
    std::size_t lineEnd = 0; ///< just after the line's newline (or the end of the text)
    /// Where the value's text lies: a single number, or a position's three (up to the last
    /// ';').
    std::size_t valueBegin = 0, valueEnd = 0;
    double value = 0;
    double values[3] = {0, 0, 0}; ///< a position's
};

// An object directive and the properties that follow it.
struct Block {
    std::string word;
    std::size_t lineEnd = 0;
    std::vector<Property> properties;
};

std::size_t endOfLine(const std::string& text, std::size_t from) {
    const std::size_t newline = text.find('\n', from);
    return newline == std::string::npos ? text.size() : newline + 1;
}

// Reads the directives as the level reader does (a byte at a time; '@', '#' and '+' start one,
// one byte skipped, three letters; the value after the first blank; numbers end with ';'),
// stopping where the reader stops.
std::vector<Block> scanLevel(const std::string& text) {
    std::vector<Block> blocks;
    std::size_t i = 0;
    const auto next = [&](int& c) {
        if (i >= text.size()) {
            return false;
        }
        c = static_cast<unsigned char>(text[i++]);
        return true;
    };
    const auto keyword = [&](std::string& word) {
        int c;
        if (!next(c)) {
            return false;
        }
        word.clear();
        for (int k = 0; k < 3; ++k) {
            if (!next(c)) {
                return false;
            }
            word.push_back(static_cast<char>(c));
        }
        return true;
    };
    const auto number = [&](std::size_t& begin, std::size_t& end) {
        begin = i;
        for (int c = 0; next(c);) {
            if (c == ';') {
                end = i - 1;
                return true;
            }
        }
        return false;
    };
    int c;
    while (next(c) && c != 0xFF) {
        if (c == '@') {
            Block block;
            if (!keyword(block.word)) {
                break;
            }
            block.lineEnd = endOfLine(text, i);
            blocks.push_back(block);
        } else if (c == '#' || c == '+') {
            Property p;
            p.prefix = static_cast<char>(c);
            if (!keyword(p.word)) {
                break;
            }
            bool blank = false;
            while (!blank && next(c)) {
                blank = c == ' ';
            }
            if (!blank) {
                break;
            }
            bool complete = true;
            std::size_t begin = 0, end = 0;
            if (p.word == "Pos" || p.word == "Sca") {
                for (int k = 0; k < 3 && complete; ++k) {
                    complete = number(begin, end);
                    p.valueBegin = k == 0 ? begin : p.valueBegin;
                    p.valueEnd = end;
                    p.values[k] = std::atof(text.substr(begin, end - begin).c_str());
                }
            } else if (p.word == "XRo" || p.word == "YRo" || p.word == "ZRo" || p.word == "Tex") {
                complete = number(p.valueBegin, p.valueEnd);
                p.value = std::atof(text.substr(p.valueBegin, p.valueEnd - p.valueBegin).c_str());
            } else if (p.word == "Col") {
                complete = next(c);
            }
            if (!complete) {
                break;
            }
            p.lineEnd = endOfLine(text, i);
            if (!blocks.empty()) {
                blocks.back().properties.push_back(p);
            }
        }
    }
    return blocks;
}

// Degrees as the shortest text that reads back the same (no needless decimals).
std::string degreesText(double value) {
    char text[64];
    if (std::fabs(value - std::round(value)) < 1e-9) {
        std::snprintf(text, sizeof text, "%.0f", std::round(value) == 0 ? 0.0 : value);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::atof(text) == value) {
            break;
        }
    }
    return text;
}

// Whether a property turns or scales the holder (true) or the frame (false) of a mounted element;
// translations, colours and textures do neither.
bool turnsOrScales(const Property& p, bool frame) {
    const bool rotation = p.word == "XRo" || p.word == "YRo" || p.word == "ZRo";
    if (p.word != "Sca" && !rotation) {
        return false;
    }
    // '+' reaches the frame for a tilt or a scale; its other turns go on to the holder.
    const bool onFrame = p.prefix == '+' && (p.word == "XRo" || p.word == "Sca");
    return onFrame == frame;
}

struct Edit {
    std::size_t begin, end; ///< the bytes replaced (equal for an insertion)
    std::string text;
};

// Whether a property moves the holder of a mounted element ('#' and '+' alike reach it).
bool moves(const Property& p) {
    return p.word == "Pos";
}

// A number as the shortest text that reads back the same once rounded to a thousandth.
std::string thousandthsText(double value) {
    return degreesText(std::round(value * 1000.0) / 1000.0);
}

// The turn about z, then x, then y (each about the axes the one before left, as the level reader
// applies "# ZRo a;", "# XRo b;", "# YRo c;") that makes the rotation q, in degrees.
void zxyAngles(const double q[3][3], double& a, double& b, double& c) {
    const double degrees = 180.0 / PI;
    b = std::asin(std::clamp(q[2][1], -1.0, 1.0));
    if (std::fabs(std::cos(b)) < 1e-9) {
        a = 0;
        c = std::atan2(q[0][2], q[0][0]);
    } else {
        a = std::atan2(-q[0][1], q[1][1]);
        c = std::atan2(-q[2][0], q[2][2]);
    }
    a *= degrees;
    b *= degrees;
    c *= degrees;
}

// The lines that carry the holder from `before` (its local matrix as the file builds it) to
// `after` (as the carry and the turn about its axis leave it), added or changed in `block`: the
// last position line changed when nothing but turns follows it (and editLines), else a position
// line added; the turn added as turns about z, x and y. Returns the lines to add.
std::string carryLines(const Block& block, const Matrix& before, const Matrix& after,
                       bool editLines, const std::string& newline, std::vector<Edit>& edits) {
    std::string lines;
    double shift[3];
    for (int k = 0; k < 3; ++k) {
        shift[k] = double(after[12 + k]) - before[12 + k];
    }
    const Property* last = nullptr;
    bool onlyTurnsAfter = true;
    for (const Property& p : block.properties) {
        if (moves(p)) {
            last = &p;
            onlyTurnsAfter = true;
        } else if (p.word != "XRo" && p.word != "YRo" && p.word != "ZRo") {
            onlyTurnsAfter = false;
        }
    }
    if (editLines && last && onlyTurnsAfter) {
        edits.push_back({last->valueBegin, last->valueEnd,
                         thousandthsText(last->values[0] + shift[0]) + ";" +
                             thousandthsText(last->values[1] + shift[1]) + ";" +
                             thousandthsText(last->values[2] + shift[2])});
    } else {
        lines += "# Pos " + thousandthsText(shift[0]) + ";" + thousandthsText(shift[1]) + ";" +
                 thousandthsText(shift[2]) + ";" + newline;
    }
    // The turn q = before' * after of the unit axes.
    double r0[3][3], r1[3][3], q[3][3];
    for (int c = 0; c < 3; ++c) {
        double l0 = 0, l1 = 0;
        for (int r = 0; r < 3; ++r) {
            l0 += double(before[4 * c + r]) * before[4 * c + r];
            l1 += double(after[4 * c + r]) * after[4 * c + r];
        }
        for (int r = 0; r < 3; ++r) {
            r0[r][c] = before[4 * c + r] / std::sqrt(l0);
            r1[r][c] = after[4 * c + r] / std::sqrt(l1);
        }
    }
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            q[r][c] = r0[0][r] * r1[0][c] + r0[1][r] * r1[1][c] + r0[2][r] * r1[2][c];
        }
    }
    double a, b, c;
    zxyAngles(q, a, b, c);
    const std::pair<const char*, double> turns[] = {{"# ZRo ", a}, {"# XRo ", b}, {"# YRo ", c}};
    for (const auto& [line, angle] : turns) {
        const std::string value = thousandthsText(angle);
        if (value != "0") {
            lines += line + value + ";" + newline;
        }
    }
    return lines;
}

// The level text with the changes written into the blocks of the changed elements. A turn: the
// holder's last turn line changed when it is a turn about the vertical (and editLines), else a
// new line after the block's last property line; likewise the frame's tilt. A carry: see
// carryLines; its tilt as a turn's. `holders` are the holders' local matrices as the file builds
// them, in the order of the turnable elements.
std::string writeTurns(const std::string& text, const std::vector<ElementTurn>& turns,
                       const std::vector<Matrix>& holders, bool editLines) {
    std::vector<Block> mounted;
    for (const Block& b : scanLevel(text)) {
        if (b.word == "MIR" || b.word == "HMI" || b.word == "FIL") {
            mounted.push_back(b);
        }
    }
    std::vector<Edit> edits;
    for (const ElementTurn& turn : turns) {
        const Block& block = mounted.at(static_cast<std::size_t>(turn.turnableIndex));
        std::size_t at = block.properties.empty() ? block.lineEnd : block.properties.back().lineEnd;
        const bool crlf = at >= 2 && text[at - 1] == '\n' && text[at - 2] == '\r';
        const std::string newline = crlf ? "\r\n" : "\n";
        std::string lines;
        const auto change = [&](double delta, bool frame, const char* line) {
            if (delta == 0) {
                return;
            }
            const Property* last = nullptr;
            for (const Property& p : block.properties) {
                if (turnsOrScales(p, frame)) {
                    last = &p;
                }
            }
            if (editLines && last && last->word == (frame ? "XRo" : "YRo")) {
                std::size_t begin = last->valueBegin;
                while (begin < last->valueEnd && text[begin] == ' ') {
                    ++begin;
                }
                // To a millionth: the sum of a written angle and a turn to a thousandth.
                const double sum = std::round((last->value + delta) * 1e6) / 1e6;
                edits.push_back({begin, last->valueEnd, degreesText(sum)});
            } else {
                lines += std::string(line) + degreesText(delta) + ";" + newline;
            }
        };
        if (turn.carry.carried) {
            Matrix after = turn.carry.holder;
            matrixRotateY(after, static_cast<float>(turn.yawDegrees / 180.0 * PI), 0);
            lines +=
                carryLines(block, holders.at(turn.turnableIndex), after, editLines, newline, edits);
        } else {
            change(turn.yawDegrees, false, "# YRo ");
        }
        change(turn.tiltDegrees, true, "+ XRo ");
        if (!lines.empty()) {
            // After a last line without a newline, the new lines start on a line of their own.
            const bool startsLine = at == 0 || text[at - 1] == '\n';
            edits.push_back({at, at, (startsLine ? "" : "\n") + lines});
        }
    }
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
    std::string out = text;
    for (const Edit& e : edits) {
        out.replace(e.begin, e.end - e.begin, e.text);
    }
    return out;
}

// Loads the text with the real reader and traces it: whether it is solved.
bool solvedText(const std::string& text) {
    QuietConsole quiet;
    Level level;
    std::istringstream in(text);
    level.read(in);
    updateLasers(level);
    return isLevelSolved(level);
}

int usage() {
    std::cerr << "usage: beamworks-solve [--data DIR] [--step DEGREES] [--time-limit SECONDS] "
                 "[--max-elements K] [--no-carry] [--par] [-o OUT] LEVEL"
              << std::endl;
    return 1;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir, outFile, file;
    double step = 15, timeLimit = 60, maxElements = 0;
    bool carry = true, par = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
            dataDir = argv[++i];
        } else if (std::strcmp(argv[i], "-o") == 0 && hasValue) {
            outFile = argv[++i];
        } else if (std::strcmp(argv[i], "--step") == 0 && hasValue) {
            if (!parseNumber(argv[++i], step) || step != std::floor(step) || step < 1 ||
                step > 180 || 360 % static_cast<int>(step) != 0) {
                std::cerr << "beamworks-solve: the step must be a whole number of degrees that "
                             "divides 360"
                          << std::endl;
                return usage();
            }
        } else if (std::strcmp(argv[i], "--time-limit") == 0 && hasValue) {
            if (!parseNumber(argv[++i], timeLimit) || timeLimit <= 0) {
                return usage();
            }
        } else if (std::strcmp(argv[i], "--no-carry") == 0) {
            carry = false;
        } else if (std::strcmp(argv[i], "--par") == 0) {
            par = true;
        } else if (std::strcmp(argv[i], "--max-elements") == 0 && hasValue) {
            if (!parseNumber(argv[++i], maxElements) || maxElements != std::floor(maxElements) ||
                maxElements < 1 || maxElements > 1000) {
                return usage();
            }
        } else if (argv[i][0] == '-' || !file.empty()) {
            return usage();
        } else {
            file = argv[i];
        }
    }
    if (file.empty()) {
        return usage();
    }

    std::vector<std::string> failed;
    {
        QuietConsole quiet;
        failed = loadGameModels(toolModelFolder(dataDir));
    }
    if (!failed.empty()) {
        for (const std::string& model : failed) {
            std::cerr << "cannot load model file " << gameModelPath(model) << std::endl;
        }
        return 2;
    }
    std::ifstream input(file, std::ios::binary);
    if (!input) {
        std::cerr << file << ": cannot read the level file" << std::endl;
        return 2;
    }
    const std::string text((std::istreambuf_iterator<char>(input)),
                           std::istreambuf_iterator<char>());

    SolveOptions options;
    options.stepDegrees = static_cast<int>(step);
    options.timeLimitSeconds = timeLimit;
    options.maxChangedElements = static_cast<int>(maxElements);
    options.carry = carry;
    options.findPar = par;
    SolveResult result;
    std::vector<Matrix> holders;
    {
        QuietConsole quiet;
        Level level;
        std::istringstream in(text);
        level.read(in);
        for (ActiveObject* element : turnableElements(level)) {
            holders.push_back(element->parent->parent->localMatrix);
        }
        result = solve(level, options);
    }
    if (result.outcome == SolveOutcome::NoSolution) {
        std::cerr << file
                  << (carry ? ": no solution by turning or carrying "
                            : ": no solution by turning ");
        if (options.maxChangedElements > 0) {
            std::cerr << "at most " << options.maxChangedElements
                      << (options.maxChangedElements == 1 ? " element " : " elements ");
        }
        std::cerr << "in steps of " << options.stepDegrees << " degrees" << std::endl;
        return 1;
    }
    if (result.outcome != SolveOutcome::Solved) {
        std::cerr << file << ": no solution found within " << degreesText(timeLimit) << " s"
                  << std::endl;
        return 3;
    }

    std::string out = writeTurns(text, result.turns, holders, true);
    if (!solvedText(out)) {
        // A changed line turns by the sum of two angles, which may round differently from two
        // turns in a row; added lines repeat the search's turns exactly.
        out = writeTurns(text, result.turns, holders, false);
        if (!solvedText(out)) {
            std::cerr << file << ": the solution found does not solve the written level"
                      << std::endl;
            return 4;
        }
    }
    if (outFile.empty()) {
        std::cout << out << std::flush;
    } else {
        std::ofstream output(outFile, std::ios::binary);
        output << out;
        output.close();
        if (!output) {
            std::cerr << outFile << ": cannot write the level file" << std::endl;
            return 2;
        }
    }
    const long carried = std::count_if(result.turns.begin(), result.turns.end(),
                                       [](const ElementTurn& t) { return t.carry.carried; });
    const long turned = static_cast<long>(result.turns.size()) - carried;
    std::cerr << file << ": solved by turning " << turned << " elements";
    if (carried > 0) {
        std::cerr << " and carrying " << carried << " (" << result.moves << " moves, ";
    } else {
        std::cerr << " (";
    }
    if (par) {
        std::cerr << "par "
                  << (result.par < 0 ? std::string("unknown") : std::to_string(result.par)) << ", ";
    }
    std::cerr << result.states << " states, " << std::llround(result.elapsedMs) << " ms)"
              << std::endl;
    return 0;
}
