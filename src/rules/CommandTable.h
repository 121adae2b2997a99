#pragma once
// Every command of the game, once: its name, the keys that run it by default (with their
// modifiers), whether it acts once on a press or all the while a key is held, what its switch
// says on a hover, and its line in the help. The key callback, the held-key polling, the
// interface's switches and the help panel all read this table. Which keys run a command while
// the game runs is data (KeyBindings): it starts from the table's keys, and a binding changed
// at run time takes effect at the next key press or frame.

#include "rules/Settings.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

enum class Command {
    None,
    // The view.
    MoveForward,
    MoveBack,
    MoveLeft,
    MoveRight,
    MoveDown,
    MoveUp,
    TurnView,
    ResetView,
    LookLeft,
    LookRight,
    LookUp,
    LookDown,
    LookAtSelection,
    Overview,
    // The selected element.
    Select,
    SelectNext,
    SelectPrevious,
    TurnElement,
    TurnLeft,
    TurnRight,
    TiltDown,
    TiltUp,
    ShiftAway,
    ShiftNear,
    ShiftLeft,
    ShiftRight,
    ShiftUp,
    ShiftDown,
    Fine,
    Carry,
    // Play.
    LaserPower,
    NextLevel,
    PreviousLevel,
    Restart,
    Undo,
    Redo,
    Hint,
    ColourLabels,
    Brightness,
    Brighter,
    Darker,
    AddEnergy,
    Help,
    Settings,
    // The display.
    FpsCounter,
    LaserCounter,
    Wireframe,
    TextureFilter,
    Mipmap,
    Culling,
    Transparency,
    BoundingSpheres,
    Reflections,
    Music,
    Effects,
    DisplayMode,
    Quit,
};

enum class Activation {
    Press, ///< acts once when its key goes down
    Held,  ///< acts every frame while its key is down (modifiers do not matter)
};

/// A key with the modifiers that must be held with it. Keys are the window layer's codes
/// (WindowConstants.h); 0 is no key.
struct KeyChord {
    int key = 0;
    bool ctrl = false;
    bool shift = false;
    bool operator==(const KeyChord& o) const {
        return key == o.key && ctrl == o.ctrl && shift == o.shift;
    }
};

/// What a switch shows: its caption and whether it is on.
struct SwitchState {
    const char* caption;
    bool on;
};

/// What a switch's state is read from: the settings, and whether the music plays.
struct SwitchContext {
    const GameSettings& settings;
    bool musicPlaying = false;
};

/// How a command's keys join the help row of the command above it.
enum class HelpJoin { NewRow, Slash, Comma, Semicolon };

struct CommandInfo {
    Command command;
    /// Its name: in a bindings file, and the id of the switch it sets ("wireframe").
    const char* id;
    Activation activation;
    std::vector<KeyChord> keys; ///< the default keys, the first one shown on hovers
    const char* caption;        ///< what it does, on a hover of its switch ("WIRE FRAME")
    /// Its help line; the commands after it that join its row (join is not NewRow) share it.
    const char* help;
    HelpJoin join;
    const char* mouse; ///< the mouse input that does it too ("wheel"), or ""
    /// Caption and state of its switch (or, for colour labels, of its flashed message); null
    /// for commands with neither.
    SwitchState (*switchState)(const SwitchContext&);
};

/// Every command but None, in the help's order.
const std::vector<CommandInfo>& commandTable();
const CommandInfo& commandInfo(Command command);
/// The command with this id, or nullptr.
const CommandInfo* findCommand(const std::string& id);
/// The state of the command's switch, for commands with a switchState.
SwitchState switchState(Command command, const SwitchContext& context);

/// The keys that run each command now.
class KeyBindings {
  public:
    /// The table's default keys.
    KeyBindings();
    const std::vector<KeyChord>& keysOf(Command command) const;
    void setKeys(Command command, std::vector<KeyChord> keys);
    /// The command that a press of `key` with these modifiers runs, or None: of the press
    /// commands bound to the key whose modifiers are all held, the one that asks for the most
    /// (Ctrl+Shift+Z before Ctrl+Z), the first in the table on a tie.
    Command commandFor(int key, bool ctrl, bool shift) const;
    /// Whether a key of the command is down.
    bool isHeld(Command command, const std::function<bool(int key)>& keyDown) const;

  private:
    std::vector<std::vector<KeyChord>> keys_; ///< by command
};

/// The bindings the game plays with.
extern KeyBindings keyBindings;

/// The name a player sees for a key: "F3", "SPACE", "Page Down", "#", "W".
std::string keyName(int key);
/// "Ctrl+Shift+Z", "F3".
std::string chordName(const KeyChord& chord);
/// "Ctrl+Z, Backspace": the chords' names, "" for none.
std::string chordNames(const std::vector<KeyChord>& chords);
/// The first key of the command as a player sees it, or "" when it has none.
std::string firstKeyName(Command command, const KeyBindings& bindings);
/// "R: PLAY IT AGAIN": the command's first key and what it does (without a key: the text alone).
std::string keyHint(Command command, const std::string& text, const KeyBindings& bindings);
/// What a hover of the command's switch says: "WIRE FRAME - F3" (without a key: the caption).
std::string hoverText(Command command, const KeyBindings& bindings);
/// The help's rows: the keys (and mouse input) and what they do, in the table's order; commands
/// without keys or mouse input are left out. Under the key turns, a row on what turning a
/// mirror does to the beam.
std::vector<std::pair<std::string, std::string>> helpRows(const KeyBindings& bindings);
