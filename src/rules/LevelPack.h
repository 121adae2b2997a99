#pragma once
// The pack of levels and what a level says of itself: the pack is the files level1.txt,
// level2.txt, ... without gaps, in one folder (the game folder, or the folder of a level given by
// its path); a level named otherwise stands alone. A level's title is the first
// line of the comment before its first directive.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

/// The number of a pack level's file ("level12.txt" or "maps/level12.txt" gives 12), or 0 for any
/// other name.
int packNumber(const std::string& path);

/// The pack level `step` places after (or, negative, before) `fileName`, in the same folder, when
/// that file exists, else "" (also for a level outside the pack).
std::string neighbourLevel(const std::string& fileName, int step,
                           const std::function<bool(const std::string&)>& exists);

/// The first non-empty line of a level's leading comment, trimmed; `fileName` when there is none.
std::string levelTitle(const std::string& leadingComment, const std::string& fileName);

/// The message a level starts with: "LEVEL 3", "LEVEL 3 - SOLVED BEFORE"; a level outside the pack
/// by its name ("LEVEL CUSTOM" for "levelcustom.txt").
std::string levelStartMessage(const std::string& fileName, bool solvedBefore);

/// The text in capitals, as the interface's messages are written.
std::string upperCase(std::string text);

/// The number a line of the game's level lists ends with ("level4.txt 7" in the progress and par
/// files): decimal digits alone, 1 to `maxDigits` of them; nothing for anything else.
std::optional<int> digitsValue(const std::string& digits, std::size_t maxDigits);
