#include "rules/CommandTable.h"

#include <algorithm>
#include <cassert>
#include <cctype>

KeyBindings keyBindings;

namespace {

SwitchState onOff(bool on, const char* onCaption, const char* offCaption) {
    return {on ? onCaption : offCaption, on};
}

SwitchState wireframeSwitch(const SwitchContext& c) {
    return onOff(c.settings.wireframe, "WIREFRAME MODE ON", "WIREFRAME MODE OFF");
}
SwitchState textureSwitch(const SwitchContext& c) {
    return onOff(c.settings.linearFiltering, "BILINEAR TEXTURING", "NEAREST NEIGHBOR TEXTURING");
}
SwitchState mipmapSwitch(const SwitchContext& c) {
    const GameSettings& s = c.settings;
    return {!s.mipmapping    ? "MIP MAPPING: OFF"
            : s.mipmapLinear ? "MIP MAPPING: LINEAR"
                             : "MIP MAPPING: NEAREST NEIGHBOR",
            s.mipmapping};
}
SwitchState cullingSwitch(const SwitchContext& c) {
    return onOff(c.settings.frustumCulling, "VIEW FRUSTUM CULLING ON", "VIEW FRUSTUM CULLING OFF");
}
SwitchState transparencySwitch(const SwitchContext& c) {
    return onOff(c.settings.transparency, "TRANSPARENCY ON", "TRANSPARENCY OFF");
}
SwitchState boundingSphereSwitch(const SwitchContext& c) {
    return onOff(c.settings.showBoundingSpheres, "BOUNDING SPHERES ON", "BOUNDING SPHERES OFF");
}
SwitchState mirroringSwitch(const SwitchContext& c) {
    const GameSettings& s = c.settings;
    return {!s.mirroring         ? "MIRRORING OFF"
            : !s.mirroringDepth2 ? "MIRRORING DEPTH 1"
                                 : "MIRRORING DEPTH 2",
            s.mirroring};
}
SwitchState musicSwitch(const SwitchContext& c) {
    return onOff(c.musicPlaying, "MUSIC ON", "MUSIC OFF");
}
SwitchState effectsSwitch(const SwitchContext& c) {
    return onOff(c.settings.effects, "SOUND EFFECTS ON", "SOUND EFFECTS OFF");
}
SwitchState displaySwitch(const SwitchContext& c) {
    return onOff(c.settings.windowMode == GLFW_FULLSCREEN, "FULLSCREEN MODE", "WINDOW MODE");
}
SwitchState powerSwitch(const SwitchContext& c) {
    return onOff(c.settings.laserPower, "LASER POWER ON", "LASER POWER OFF");
}
SwitchState lightSwitch(const SwitchContext& c) {
    return onOff(c.settings.ambientLevel >= 0.2f, "LIGHT ON", "LIGHT OFF");
}
SwitchState exitSwitch(const SwitchContext&) {
    return {"EXIT BEAMWORKS", false};
}
SwitchState settingsSwitch(const SwitchContext&) {
    return {"SETTINGS", false};
}
SwitchState colourLabelsMessage(const SwitchContext& c) {
    return onOff(c.settings.colourLabels, "COLOUR LABELS ON", "COLOUR LABELS OFF");
}

constexpr Activation PRESS = Activation::Press;
constexpr Activation HELD = Activation::Held;
constexpr HelpJoin ROW = HelpJoin::NewRow;
constexpr HelpJoin SLASH = HelpJoin::Slash;
constexpr HelpJoin COMMA = HelpJoin::Comma;
constexpr HelpJoin SEMICOLON = HelpJoin::Semicolon;

KeyChord key(int code) {
    return {code, false, false};
}
KeyChord shifted(int code) {
    return {code, false, true};
}
KeyChord ctrl(int code, bool shift = false) {
    return {code, true, shift};
}

std::vector<CommandInfo> buildTable() {
    using C = Command;
    // clang-format off
    return {
        {C::MoveForward, "forward", HELD, {key('W')}, "MOVE FORWARD",
         "move forward / back", ROW, "wheel", nullptr},
        {C::MoveBack, "back", HELD, {key('S')}, "MOVE BACK", "", SLASH, "", nullptr},
        {C::MoveLeft, "left", HELD, {key('A')}, "MOVE LEFT",
         "move left / right, down / up", ROW, "", nullptr},
        {C::MoveRight, "right", HELD, {key('D')}, "MOVE RIGHT", "", SLASH, "", nullptr},
        {C::MoveDown, "down", HELD, {key('E')}, "MOVE DOWN", "", COMMA, "", nullptr},
        {C::MoveUp, "up", HELD, {key('Q')}, "MOVE UP", "", SLASH, "", nullptr},
        {C::TurnView, "turn-view", HELD, {}, "TURN THE VIEW",
         "turn the view", ROW, "right button held", nullptr},
        {C::ResetView, "home", PRESS, {key(GLFW_KEY_HOME)}, "START VIEW",
         "the start view; look left / right, up / down", ROW, "", nullptr},
        {C::LookLeft, "look-left", HELD, {key('4')}, "LOOK LEFT", "", SEMICOLON, "", nullptr},
        {C::LookRight, "look-right", HELD, {key('6')}, "LOOK RIGHT", "", SLASH, "", nullptr},
        {C::LookUp, "look-up", HELD, {key('8')}, "LOOK UP", "", COMMA, "", nullptr},
        {C::LookDown, "look-down", HELD, {key('2')}, "LOOK DOWN", "", SLASH, "", nullptr},
        {C::LookAtSelection, "look", PRESS, {key('Z')}, "LOOK AT THE SELECTION",
         "look at the selected element", ROW, "", nullptr},
        {C::Overview, "overview", PRESS, {key('B')}, "OVERVIEW",
         "overview from above; again: back", ROW, "", nullptr},
        {C::Select, "select", PRESS, {}, "SELECT",
         "select a mirror, filter or lamp; next / previous", ROW, "click",
         nullptr},
        {C::SelectNext, "next-element", PRESS, {key(GLFW_KEY_TAB)}, "NEXT ELEMENT", "", SEMICOLON,
         "", nullptr},
        {C::SelectPrevious, "previous-element", PRESS, {shifted(GLFW_KEY_TAB)},
         "PREVIOUS ELEMENT", "", SLASH, "", nullptr},
        {C::TurnElement, "turn", HELD, {}, "TURN",
         "turn it; Ctrl: in 15 degree steps", ROW, "drag", nullptr},
        {C::TurnLeft, "turn-left", PRESS, {key('[')}, "TURN LEFT",
         "turn it 5 degrees left / right, tilt it down / up", ROW, "", nullptr},
        {C::TurnRight, "turn-right", PRESS, {key(']')}, "TURN RIGHT", "", SLASH, "", nullptr},
        {C::TiltDown, "tilt-down", PRESS, {key(';')}, "TILT DOWN", "", COMMA, "", nullptr},
        {C::TiltUp, "tilt-up", PRESS, {key('\'')}, "TILT UP", "", SLASH, "", nullptr},
        {C::ShiftAway, "shift-away", HELD, {key(GLFW_KEY_UP)}, "SHIFT AWAY",
         "shift it away, near, left, right; up, down", ROW, "", nullptr},
        {C::ShiftNear, "shift-near", HELD, {key(GLFW_KEY_DOWN)}, "SHIFT NEAR", "", SLASH, "",
         nullptr},
        {C::ShiftLeft, "shift-left", HELD, {key(GLFW_KEY_LEFT)}, "SHIFT LEFT", "", SLASH, "",
         nullptr},
        {C::ShiftRight, "shift-right", HELD, {key(GLFW_KEY_RIGHT)}, "SHIFT RIGHT", "", SLASH, "",
         nullptr},
        {C::ShiftUp, "shift-up", HELD, {key('-')}, "SHIFT UP", "", SEMICOLON, "", nullptr},
        {C::ShiftDown, "shift-down", HELD, {key('.')}, "SHIFT DOWN", "", SLASH, "", nullptr},
        {C::Fine, "fine", HELD, {key(GLFW_KEY_LSHIFT), key(GLFW_KEY_RSHIFT)}, "FINE AND FAST",
         "held: key turns by 1 degree, shifts 4 times as fast", ROW, "", nullptr},
        {C::Carry, "carry", PRESS, {key('T')}, "CARRY",
         "carry its holder: arrows move it, Enter sets it", ROW, "double click", nullptr},
        {C::LaserPower, "power", PRESS, {key(GLFW_KEY_SPACE)}, "LASER POWER",
         "laser power on / off (energy drains while on)", ROW, "", powerSwitch},
        {C::NextLevel, "next", PRESS, {key('N'), key(GLFW_KEY_PAGEDOWN)}, "NEXT LEVEL",
         "next level", ROW, "", nullptr},
        {C::PreviousLevel, "previous", PRESS, {key('P'), key(GLFW_KEY_PAGEUP)}, "PREVIOUS LEVEL",
         "previous level", ROW, "", nullptr},
        {C::Restart, "restart", PRESS, {key('R')}, "RESTART",
         "restart the level", ROW, "", nullptr},
        {C::Undo, "undo", PRESS, {ctrl('Z'), key(GLFW_KEY_BACKSPACE)}, "UNDO",
         "undo a step", ROW, "", nullptr},
        {C::Redo, "redo", PRESS, {ctrl('Y'), ctrl('Z', true)}, "REDO", "redo", ROW, "", nullptr},
        {C::Hint, "hint", PRESS, {key('H')}, "HINT",
         "a hint: what to turn next (costs 20 s of energy)", ROW, "", nullptr},
        {C::ColourLabels, "colourlabels", PRESS, {key('C')}, "COLOUR LABELS",
         "colour labels on goals and filters", ROW, "", colourLabelsMessage},
        {C::Brightness, "light", PRESS, {key(GLFW_KEY_ENTER)}, "BRIGHTNESS",
         "brightness: a step; brighter / darker while held", ROW, "", lightSwitch},
        {C::Brighter, "brighter", HELD, {key('O')}, "BRIGHTER", "", SEMICOLON, "", nullptr},
        {C::Darker, "darker", HELD, {key('L')}, "DARKER", "", SLASH, "", nullptr},
        {C::AddEnergy, "energy", PRESS, {key('#')}, "MORE ENERGY",
         "ten more seconds of energy", ROW, "", nullptr},
        {C::Help, "help", PRESS, {key(GLFW_KEY_F1)}, "HELP",
         "this help; the settings", ROW, "", nullptr},
        {C::Settings, "settings", PRESS, {key(GLFW_KEY_F12)}, "SETTINGS", "", SEMICOLON, "",
         settingsSwitch},
        {C::FpsCounter, "fps", PRESS, {key(GLFW_KEY_F2)}, "SHOW FPS",
         "frame rate counter", ROW, "", nullptr},
        {C::LaserCounter, "nol", PRESS, {}, "SHOW LASER COUNT",
         "laser segment counter", ROW, "", nullptr},
        {C::Wireframe, "wireframe", PRESS, {key(GLFW_KEY_F3)}, "WIRE FRAME",
         "wire frame, texture filter, mip-mapping", ROW, "", wireframeSwitch},
        {C::TextureFilter, "texture", PRESS, {key(GLFW_KEY_F4)}, "TEXTURE FILTERING",
         "", COMMA, "", textureSwitch},
        {C::Mipmap, "mipmap", PRESS, {key(GLFW_KEY_F5)}, "MIP MAPPING",
         "", COMMA, "", mipmapSwitch},
        {C::Culling, "frustum", PRESS, {key(GLFW_KEY_F8)}, "VIEW FRUSTUM CULLING",
         "culling, transparency, bounding spheres", ROW, "", cullingSwitch},
        {C::Transparency, "transparency", PRESS, {key(GLFW_KEY_F9)}, "TRANSPARENCY",
         "", COMMA, "", transparencySwitch},
        {C::BoundingSpheres, "boundingsphere", PRESS, {key(GLFW_KEY_F10)}, "BOUNDING SPHERES",
         "", COMMA, "", boundingSphereSwitch},
        {C::Reflections, "mirroring", PRESS, {key(GLFW_KEY_F11)}, "REFLECTIONS",
         "reflections: off, one level, two levels", ROW, "", mirroringSwitch},
        // The letters first: most keyboards have no F18 or F19.
        {C::Music, "audio", PRESS, {key('M'), key(GLFW_KEY_F18)}, "MUSIC",
         "music; sound effects on / off", ROW, "", musicSwitch},
        {C::Effects, "effects", PRESS, {key('X')}, "SOUND EFFECTS", "", SEMICOLON, "",
         effectsSwitch},
        {C::DisplayMode, "fullscreen", PRESS, {key('F'), key(GLFW_KEY_F19)},
         "WINDOW OR FULL SCREEN", "window or full screen", ROW, "", displaySwitch},
        {C::Quit, "exit", PRESS, {key(GLFW_KEY_ESC)}, "QUIT",
         "back to the title (or quit, with -level or -file)", ROW, "", exitSwitch},
    };
    // clang-format on
}

const char* const KEY_NAMES[] = {
#define BEAMWORKS_KEY_NAME(v2, v3, name) name,
    BEAMWORKS_NAMED_KEYS(BEAMWORKS_KEY_NAME)
#undef BEAMWORKS_KEY_NAME
};

std::size_t indexOf(Command command) {
    return static_cast<std::size_t>(command);
}

} // namespace

const std::vector<CommandInfo>& commandTable() {
    static const std::vector<CommandInfo> table = [] {
        std::vector<CommandInfo> t = buildTable();
        // Looked up by place: the table lists every command in the enumeration's order.
        for (std::size_t i = 0; i < t.size(); ++i) {
            assert(indexOf(t[i].command) == i + 1);
        }
        return t;
    }();
    return table;
}

const CommandInfo& commandInfo(Command command) {
    assert(command != Command::None);
    return commandTable()[indexOf(command) - 1];
}

const CommandInfo* findCommand(const std::string& id) {
    for (const CommandInfo& c : commandTable()) {
        if (id == c.id) {
            return &c;
        }
    }
    return nullptr;
}

SwitchState switchState(Command command, const SwitchContext& context) {
    const CommandInfo& info = commandInfo(command);
    assert(info.switchState != nullptr);
    return info.switchState(context);
}

KeyBindings::KeyBindings() {
    keys_.resize(commandTable().size() + 1);
    for (const CommandInfo& c : commandTable()) {
        keys_[indexOf(c.command)] = c.keys;
    }
}

const std::vector<KeyChord>& KeyBindings::keysOf(Command command) const {
    return keys_[indexOf(command)];
}

void KeyBindings::setKeys(Command command, std::vector<KeyChord> keys) {
    if (command != Command::None) {
        keys_[indexOf(command)] = std::move(keys);
    }
}

Command KeyBindings::commandFor(int key, bool ctrl, bool shift) const {
    Command best = Command::None;
    int bestModifiers = -1;
    for (const CommandInfo& c : commandTable()) {
        if (c.activation != Activation::Press) {
            continue;
        }
        for (const KeyChord& chord : keysOf(c.command)) {
            const int modifiers = chord.ctrl + chord.shift;
            if (chord.key == key && (!chord.ctrl || ctrl) && (!chord.shift || shift) &&
                modifiers > bestModifiers) {
                best = c.command;
                bestModifiers = modifiers;
            }
        }
    }
    return best;
}

bool KeyBindings::isHeld(Command command, const std::function<bool(int key)>& keyDown) const {
    const std::vector<KeyChord>& keys = keysOf(command);
    return std::any_of(keys.begin(), keys.end(),
                       [&](const KeyChord& chord) { return chord.key != 0 && keyDown(chord.key); });
}

std::string keyName(int key) {
    if (key == GLFW_KEY_SPACE) {
        return "SPACE";
    }
    if (key > GLFW_KEY_SPECIAL && key < GLFW_NAMED_KEYS_END) {
        return KEY_NAMES[key - GLFW_KEY_SPECIAL - 1];
    }
    if (key > ' ' && key < 127) {
        return std::string(1, static_cast<char>(std::toupper(key)));
    }
    return "Key " + std::to_string(key);
}

std::string chordName(const KeyChord& chord) {
    return std::string(chord.ctrl ? "Ctrl+" : "") + (chord.shift ? "Shift+" : "") +
           keyName(chord.key);
}

std::string chordNames(const std::vector<KeyChord>& chords) {
    std::string names;
    for (const KeyChord& chord : chords) {
        names += (names.empty() ? "" : ", ") + chordName(chord);
    }
    return names;
}

std::string firstKeyName(Command command, const KeyBindings& bindings) {
    const std::vector<KeyChord>& keys = bindings.keysOf(command);
    return keys.empty() ? "" : chordName(keys.front());
}

std::string keyHint(Command command, const std::string& text, const KeyBindings& bindings) {
    const std::string key = firstKeyName(command, bindings);
    return key.empty() ? text : key + ": " + text;
}

std::string hoverText(Command command, const KeyBindings& bindings) {
    const std::string key = firstKeyName(command, bindings);
    return std::string(commandInfo(command).caption) + (key.empty() ? "" : " - " + key);
}

std::vector<std::pair<std::string, std::string>> helpRows(const KeyBindings& bindings) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::string keys, help, mouse;
    bool keyTurnsRow = false;
    const auto endRow = [&] {
        if (!keys.empty() || !mouse.empty()) {
            rows.emplace_back(keys + (!keys.empty() && !mouse.empty() ? ", " : "") + mouse, help);
        }
        if (keyTurnsRow) {
            rows.emplace_back("heading, tilt by x", "beam turns 2x; both faces reflect");
        }
        keys.clear();
        mouse.clear();
        keyTurnsRow = false;
    };
    for (const CommandInfo& c : commandTable()) {
        if (c.join == HelpJoin::NewRow) {
            endRow();
            help = c.help;
        }
        keyTurnsRow = keyTurnsRow || c.command == Command::TiltUp;
        const std::string own = chordNames(bindings.keysOf(c.command));
        if (!own.empty()) {
            const char* separator = c.join == HelpJoin::Slash       ? " / "
                                    : c.join == HelpJoin::Semicolon ? "; "
                                                                    : ", ";
            keys += (keys.empty() ? "" : separator) + own;
        }
        if (*c.mouse != '\0') {
            mouse += (mouse.empty() ? "" : ", ") + std::string(c.mouse);
        }
    }
    endRow();
    return rows;
}
