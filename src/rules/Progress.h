#pragma once
// Which levels the player has solved, kept across launches in a small text file in the player's
// data folder ($XDG_DATA_HOME/beamworks/progress.txt, or ~/.local/share/beamworks/progress.txt),
// never in the game folder: one line per solved level, its file name and the fewest moves it was
// solved in ("level4.txt 7"). A line with the name alone (as older games wrote them) is a level
// solved in moves not known.
//
// A missing file means nothing is solved yet. A file that cannot be read or is not one of ours
// (binary bytes, huge lines, names that are not level files) gives one console line and an
// empty progress; the next save replaces it. A save writes a temporary file and renames it over
// the old one, so a crash never leaves half a file; a folder that cannot be made or written
// gives one console line and the game goes on.

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>

class Progress {
  public:
    /// The progress file's path for these environment values ("" when neither is usable: unset,
    /// empty or relative).
    static std::string defaultPath(const char* xdgDataHome, const char* home);

    /// Reads the file at `path` (replacing what was known), reporting problems on `out`.
    /// Returns whether the file existed.
    bool load(const std::string& path, std::ostream& out);
    /// Reads what a progress file holds from `in` (replacing what was known). False, after one
    /// line on `out` naming `source`, when it is damaged or not ours: the progress is then empty.
    bool read(std::istream& in, const std::string& source, std::ostream& out);
    /// Whether the level file name is among the solved ones.
    bool isSolved(const std::string& levelFile) const { return solved_.count(levelFile) > 0; }
    /// The fewest moves the level was solved in; none when it is not solved or was solved in
    /// moves not known.
    std::optional<int> bestMoves(const std::string& levelFile) const;
    /// Records a solve in `moves` moves (0 or more) and saves the whole file when the level is new
    /// or the moves are fewer than its best; a name that is not a level file name is not recorded.
    /// Returns whether the file was written.
    bool recordSolve(const std::string& levelFile, int moves, std::ostream& out);
    /// What the file holds: a line per solved level, by name.
    void write(std::ostream& o) const;

    const std::set<std::string>& solved() const { return solved_; }
    /// The best moves of the solved levels that have one.
    const std::map<std::string, int>& best() const { return best_; }
    const std::string& path() const { return path_; }

    /// The most moves a best can hold; more are kept as this many.
    static constexpr int MAX_MOVES = 999'999'999;

    /// Whether a line names a level file: 1 to 91 printable characters, no folder, ending in
    /// ".txt".
    static bool isLevelFileName(const std::string& line);

  private:
    bool save(std::ostream& out) const;

    std::string path_;
    std::set<std::string> solved_;
    std::map<std::string, int> best_;
};

/// The player's progress for this run.
extern Progress progress;
