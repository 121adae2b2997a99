#include "rules/LevelDocument.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr unsigned char END_MARK = 0xFF; // ends a level where a directive could start

bool startsDirective(char c) {
    return c == '@' || c == '#' || c == '+';
}

PieceKind kindOf(const std::string& word) {
    static const struct {
        const char* word;
        PieceKind kind;
    } KINDS[] = {
        {"EMI", PieceKind::Emitter}, {"MIR", PieceKind::Mirror},    {"HMI", PieceKind::HalfMirror},
        {"FIL", PieceKind::Filter},  {"COL", PieceKind::Collector}, {"WAL", PieceKind::Wall},
        {"FIN", PieceKind::Goal},    {"LIG", PieceKind::Lamp},      {"CAM", PieceKind::Camera}};
    for (const auto& k : KINDS) {
        if (word == k.word) {
            return k.kind;
        }
    }
    return PieceKind::Other;
}

const char* keywordOf(PieceKind kind) {
    switch (kind) {
    case PieceKind::Emitter:
        return "EMITTER";
    case PieceKind::Mirror:
        return "MIRROR";
    case PieceKind::HalfMirror:
        return "HMIRROR";
    case PieceKind::Filter:
        return "FILTER";
    case PieceKind::Collector:
        return "COLLECTOR";
    case PieceKind::Wall:
        return "WALL";
    case PieceKind::Goal:
        return "FINISH";
    case PieceKind::Lamp:
        return "LIGHT";
    case PieceKind::Camera:
        return "CAMERA";
    case PieceKind::Other:
        break;
    }
    return "LEVEL";
}

// How many numbers ended by ';' a property's value has (Col has a single byte instead).
int numberCount(const std::string& name) {
    if (name == "Pos" || name == "Sca") {
        return 3;
    }
    if (name == "XRo" || name == "YRo" || name == "ZRo" || name == "Tex") {
        return 1;
    }
    return 0;
}

std::string trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) {
        return "";
    }
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// Cuts the text as the level reader consumes it.
class Cutter {
  public:
    explicit Cutter(const std::string& text) : text_(text) {}

    bool run(LevelDocument& document, std::string& error) {
        std::string* comment = &document.leading;
        while (true) {
            const std::size_t start = at_;
            while (at_ < text_.size() && !startsDirective(text_[at_])) {
                if (static_cast<unsigned char>(text_[at_]) == END_MARK) {
                    error = "byte 0xFF at " + std::to_string(at_) + " ends the level early";
                    return false;
                }
                ++at_;
            }
            comment->append(text_, start, at_ - start);
            if (at_ == text_.size()) {
                return true;
            }
            const std::size_t begin = at_;
            const char first = text_[at_];
            if (at_ + 5 > text_.size()) {
                return cutOff(begin, error);
            }
            const std::string word = text_.substr(at_ + 2, 3);
            at_ += 5;
            if (first == '@') {
                Piece piece;
                piece.kind = kindOf(word);
                piece.directive = text_.substr(begin, at_ - begin);
                document.pieces.push_back(std::move(piece));
                comment = &document.pieces.back().comment;
                continue;
            }
            Property property;
            property.target = first;
            property.name = word;
            if (!value(property)) {
                return cutOff(begin, error);
            }
            property.directive = text_.substr(begin, at_ - begin);
            std::vector<Property>* list = nullptr;
            if (document.pieces.empty()) {
                // Properties before the first object do nothing; they stay as they are.
                document.prelude += property.directive;
                comment = &document.prelude;
                continue;
            }
            list = &document.pieces.back().properties;
            list->push_back(std::move(property));
            comment = &list->back().comment;
        }
    }

  private:
    bool cutOff(std::size_t begin, std::string& error) {
        error = "the directive at " + std::to_string(begin) + " is cut off by the end";
        return false;
    }

    // Past the blank after the keyword, then the value.
    bool value(Property& property) {
        while (at_ < text_.size() && text_[at_] != ' ') {
            ++at_;
        }
        if (at_ == text_.size()) {
            return false;
        }
        ++at_;
        if (property.name == "Col") {
            if (at_ == text_.size()) {
                return false;
            }
            property.values.push_back(static_cast<unsigned char>(text_[at_]) - '0');
            ++at_;
            return true;
        }
        for (int i = numberCount(property.name); i > 0; --i) {
            const std::size_t end = text_.find(';', at_);
            if (end == std::string::npos) {
                return false;
            }
            property.values.push_back(std::atof(text_.substr(at_, end - at_).c_str()));
            at_ = end + 1;
        }
        return true;
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

// The word after the @ as written, and the rest of its line as the name.
void nameHeader(Piece& piece) {
    const std::string line = piece.directive + piece.comment.substr(0, piece.comment.find('\n'));
    std::size_t end = 2;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
        ++end;
    }
    piece.keyword = line.substr(2 < line.size() ? 2 : line.size(), end - 2);
    piece.name = trimmed(line.substr(end));
}

} // namespace

void Property::rewrite() {
    directive = std::string(1, target) + " " + name + " ";
    if (name == "Col") {
        // The value is a byte less '0'; anything else is written as 0.
        const double v = values.empty() ? 0 : values[0];
        const int byte = v >= -'0' && v <= 255 - '0' ? static_cast<int>(v) + '0' : '0';
        directive += static_cast<char>(static_cast<unsigned char>(byte));
        return;
    }
    for (double v : values) {
        directive += formatNumber(v) + ";";
    }
}

bool LevelDocument::parse(const std::string& text, std::string* error) {
    LevelDocument document;
    std::string reason;
    if (!Cutter(text).run(document, reason)) {
        if (error) {
            *error = reason;
        }
        return false;
    }
    for (Piece& piece : document.pieces) {
        nameHeader(piece);
    }
    *this = std::move(document);
    return true;
}

std::string LevelDocument::text() const {
    std::string text = leading + prelude;
    for (const Piece& piece : pieces) {
        text += pieceText(piece);
    }
    return text;
}

std::string pieceText(const Piece& piece) {
    std::string text = piece.directive + piece.comment;
    for (const Property& property : piece.properties) {
        text += property.directive + property.comment;
    }
    return text;
}

Piece makePiece(PieceKind kind, const std::string& name) {
    Piece piece;
    piece.kind = kind;
    piece.keyword = keywordOf(kind);
    piece.name = trimmed(commentSafe(name, false));
    piece.directive = "@ " + piece.keyword;
    piece.comment = (piece.name.empty() ? "" : " " + piece.name) + "\n";
    return piece;
}

Property makeProperty(char target, const std::string& name, std::vector<double> values) {
    Property property;
    property.target = target;
    property.name = name;
    property.values = std::move(values);
    property.comment = "\n";
    property.rewrite();
    return property;
}

std::string formatNumber(double value) {
    if (value == 0) {
        return "0"; // also for -0
    }
    char buffer[400];
    // Plain decimals where a few of them read back the same (what a designer types: 45, -52.5),
    // else the fewest significant digits that do.
    for (int decimals = 0; decimals <= 6; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        if (std::atof(buffer) == value) {
            return buffer;
        }
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::atof(buffer) == value) {
            break;
        }
    }
    return buffer;
}

std::string commentSafe(const std::string& text, bool keepNewlines) {
    std::string safe;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const char* word = c == '@' ? "at" : c == '#' ? "number" : c == '+' ? "plus" : nullptr;
        if (word) {
            if (!safe.empty() && safe.back() != ' ' && safe.back() != '\n') {
                safe += ' ';
            }
            safe += word;
            if (i + 1 < text.size() && text[i + 1] != ' ' && text[i + 1] != '\n') {
                safe += ' ';
            }
        } else if (c == END_MARK) {
            continue;
        } else if (c == '\n' && keepNewlines) {
            safe += '\n';
        } else if (c < 0x20 || c == 0x7F) {
            safe += ' ';
        } else {
            safe += static_cast<char>(c);
        }
    }
    return safe;
}
