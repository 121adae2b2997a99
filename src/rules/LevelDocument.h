#pragma once
// A level file as the level editor holds it: the comment before the first directive (the title
// and the introduction), then the pieces, each an `@` directive with the property directives
// after it. Every directive keeps the bytes it was read from and the comment that follows it up
// to the next directive, so that a file written back unchanged is the same file; a directive
// the editor changes is written anew and keeps its comment.
//
// The document is cut as the level reader reads (Level.cpp): a directive is found by its first
// byte, a property consumes its value the same way, so that every directive of the document is a
// directive of the level and nothing else is.

#include <string>
#include <vector>

enum class PieceKind {
    Emitter,
    Mirror,
    HalfMirror,
    Filter,
    Collector,
    Wall,
    Goal,
    Lamp,
    Camera,
    Other
};

/// One property directive: `# Pos 1;2;3;`, `+ XRo 20;`, `# Col 3`.
struct Property {
    char target = '#'; ///< '#' the object, '+' its first child
    std::string name;  ///< the three letters: "Pos", "XRo", "YRo", "ZRo", "Sca", "Col", ...
    std::vector<double> values; ///< the numbers (Col: the digit's value, byte less '0')
    std::string directive;      ///< the directive's bytes as they stand in the file
    std::string comment;        ///< what follows it up to the next directive

    bool is(char t, const char* n) const { return target == t && name == n; }
    /// Writes `directive` anew from target, name and values.
    void rewrite();
};

/// One object of the level as the file describes it (a `@` line and its property lines).
struct Piece {
    PieceKind kind = PieceKind::Other;
    std::string name;      ///< the text after the keyword on its @ line ("first mirror")
    std::string keyword;   ///< the word after the `@` as written ("EMITTER", "HMI")
    std::string directive; ///< the `@` directive's bytes ("@ EMI"; a new piece's whole keyword)
    std::string comment;   ///< what follows it up to the next directive (the rest of the line)
    std::vector<Property> properties;
};

struct LevelDocument {
    std::string leading; ///< the comment before the first directive
    std::string prelude; ///< property directives before the first piece (they do nothing)
    std::vector<Piece> pieces;

    /// Cuts a level text; false with a reason when the reader would stop early (a byte 0xFF
    /// where a directive could start, a directive cut off by the end).
    bool parse(const std::string& text, std::string* error = nullptr);
    /// The text, byte for byte what was parsed where nothing changed.
    std::string text() const;
};

/// The text of one piece (its @ directive, comment and properties).
std::string pieceText(const Piece& piece);

/// A new piece of `kind` named `name`, without properties, its @ line ended by a newline.
Piece makePiece(PieceKind kind, const std::string& name);

/// A property directive with its values, ended by a newline.
Property makeProperty(char target, const std::string& name, std::vector<double> values);

/// A number as the reader reads it back to the same double, shortest form ("25", "0.3").
std::string formatNumber(double value);

/// Text the user typed made safe for a level's comment: `@`, `#` and `+` replaced by words, the
/// byte 0xFF dropped, control characters other than newlines (kept when `keepNewlines`) blanks.
std::string commentSafe(const std::string& text, bool keepNewlines);
