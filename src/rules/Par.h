#pragma once
// Moves and par. A move is one step of the undo history (UndoHistory::moves); a level's par is the
// fewest moves that solve it from its shipped state, as the solver finds them. The pack's par
// values are kept in the par file beside the levels (par.txt in the game folder, written by
// scripts/write-par.sh from the solver's answers, never by hand): one line per level,
// "level4.txt 3", blank lines and lines starting with '#' aside. A level the file does not list
// (the solver has no answer for it yet), or a level outside the game folder, has no par.
//
// The file is the game's own: a missing one gives one console line and no par at all; a line
// that is not a pack level's name and its par (a whole number from 1 to 9999) is left out, and one
// console line says how many were and which came first.

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>

class ParTable {
  public:
    /// The par file's name in the game folder.
    static constexpr const char* FILE_NAME = "par.txt";

    /// Reads the file at `path` (replacing what was known), reporting problems on `out`.
    /// Returns whether it could be read.
    bool load(const std::string& path, std::ostream& out);
    /// Reads what a par file holds from `in` (replacing what was known), reporting the lines
    /// left out on `out` under the name `source`. Returns whether every line was good.
    bool read(std::istream& in, const std::string& source, std::ostream& out);
    /// The par of the level being played as `levelFile`: only a pack level of the game folder (a
    /// bare file name, as -level N and the map give it) has one.
    std::optional<int> parOf(const std::string& levelFile) const;
    const std::map<std::string, int>& values() const { return par_; }

  private:
    std::map<std::string, int> par_;
};

/// The pack's par values for this run.
extern ParTable parTable;

/// The large message of a solve: "SOLVED IN 4 MOVES - PAR 3", or without a par
/// "SOLVED IN 4 MOVES".
std::string solvedMessage(int moves, std::optional<int> par);
/// The console's line: "Level solved: level4.txt in 4 moves (par 3)", or without a par
/// "Level solved: level4.txt in 4 moves".
std::string solvedLine(const std::string& levelFile, int moves, std::optional<int> par);
/// Whether a best is at or under the par (false when either is missing).
bool isAtPar(std::optional<int> best, std::optional<int> par);
