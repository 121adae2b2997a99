#include "rules/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

/// One setting of the file: its name, how a value is read into the settings (false for a value
/// it does not take) and how it is written.
struct Field {
    const char* name;
    std::function<bool(PlayerSettings&, const std::string&)> read;
    std::function<std::string(const PlayerSettings&)> write;
};

bool parseNumber(const std::string& text, double& value) {
    std::istringstream in(text);
    in >> value;
    return !in.fail() && in.eof() && std::isfinite(value);
}

Field onOff(const char* name, bool PlayerSettings::*member) {
    return {name,
            [=](PlayerSettings& s, const std::string& v) {
                if (v != "on" && v != "off") {
                    return false;
                }
                s.*member = v == "on";
                return true;
            },
            [=](const PlayerSettings& s) { return std::string(s.*member ? "on" : "off"); }};
}

Field whole(const char* name, int PlayerSettings::*member, int low, int high) {
    return {name,
            [=](PlayerSettings& s, const std::string& v) {
                double d = 0;
                if (!parseNumber(v, d) || d != std::floor(d) || d < low || d > high) {
                    return false;
                }
                s.*member = static_cast<int>(d);
                return true;
            },
            [=](const PlayerSettings& s) { return std::to_string(s.*member); }};
}

Field ranged(const char* name, double PlayerSettings::*member, double low, double high) {
    return {name,
            [=](PlayerSettings& s, const std::string& v) {
                double d = 0;
                if (!parseNumber(v, d) || d < low || d > high) {
                    return false;
                }
                s.*member = d;
                return true;
            },
            [=](const PlayerSettings& s) {
                std::ostringstream o;
                o << s.*member;
                return o.str();
            }};
}

const std::vector<Field>& fields() {
    static const std::vector<Field> all = [] {
        std::vector<Field> f = {
            whole("width", &PlayerSettings::width, 1, 16384),
            whole("height", &PlayerSettings::height, 1, 16384),
            onOff("fullscreen", &PlayerSettings::fullscreen),
            onOff("music", &PlayerSettings::music),
            whole("music_volume", &PlayerSettings::musicVolume, 0, 100),
            onOff("effects", &PlayerSettings::effects),
            whole("effects_volume", &PlayerSettings::effectsVolume, 0, 100),
            ranged("look_speed", &PlayerSettings::lookSpeed, 0.25, 4),
            ranged("turn_speed", &PlayerSettings::turnSpeed, 0.25, 4),
            onOff("invert_look", &PlayerSettings::invertLook),
            ranged("ui_scale", &PlayerSettings::uiScale, 1, 2),
            onOff("colour_labels", &PlayerSettings::colourLabels),
            whole("reflections", &PlayerSettings::reflections, 0, 2),
            onOff("shadows", &PlayerSettings::shadows),
        };
        f.push_back({"energy",
                     [](PlayerSettings& s, const std::string& v) {
                         if (v != "limited" && v != "relaxed") {
                             return false;
                         }
                         s.relaxedEnergy = v == "relaxed";
                         return true;
                     },
                     [](const PlayerSettings& s) {
                         return std::string(s.relaxedEnergy ? "relaxed" : "limited");
                     }});
        return f;
    }();
    return all;
}

std::string trimmed(const std::string& text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "KEY, KEY" as chords; false when any is no key's name, or none is given.
bool chordsFromList(const std::string& list, std::vector<KeyChord>& chords) {
    chords.clear();
    std::size_t start = 0;
    while (start <= list.size()) {
        // Names are parted by ", ", so that "," alone is the comma key.
        std::size_t comma = list.find(", ", start);
        const std::string name = trimmed(list.substr(start, comma - start));
        KeyChord chord;
        if (!chordFromName(name, chord)) {
            return false;
        }
        chords.push_back(chord);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 2;
    }
    return !chords.empty();
}

bool uiScaleAllowed(double scale) {
    return scale == 1.0 || scale == 1.5 || scale == 2.0;
}

} // namespace

bool PlayerSettings::operator==(const PlayerSettings& o) const {
    std::ostringstream a, b;
    writeSettings(a, *this);
    writeSettings(b, o);
    return a.str() == b.str();
}

std::string settingsFilePath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        return std::string(xdgConfigHome) + "/beamworks/settings.conf";
    }
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/beamworks/settings.conf";
    }
    return "";
}

bool chordFromName(const std::string& name, KeyChord& chord) {
    chord = KeyChord{};
    std::string rest = name;
    for (bool more = true; more;) {
        more = false;
        for (auto [prefix, flag] : {std::pair{"ctrl+", &chord.ctrl}, {"shift+", &chord.shift}}) {
            const std::string p = prefix;
            if (rest.size() > p.size() && lowered(rest.substr(0, p.size())) == p) {
                *flag = true;
                rest.erase(0, p.size());
                more = true;
            }
        }
    }
    const std::string wanted = lowered(rest);
    for (int key = ' '; key < GLFW_NAMED_KEYS_END; ++key) {
        if ((key < 127 || key > GLFW_KEY_SPECIAL) && lowered(keyName(key)) == wanted) {
            chord.key = key;
            return true;
        }
    }
    return false;
}

PlayerSettings readSettings(std::istream& in, const std::string& source, std::ostream& out) {
    PlayerSettings settings;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const auto complain = [&](const std::string& why) {
            out << "Settings " << source << " line " << number << ": " << why
                << "; the default stays" << std::endl;
        };
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) {
            complain("not a name = value line");
            continue;
        }
        const std::string name = trimmed(text.substr(0, equals));
        const std::string value = trimmed(text.substr(equals + 1));
        if (name.rfind("key.", 0) == 0) {
            const CommandInfo* command = findCommand(name.substr(4));
            std::vector<KeyChord> chords;
            if (command == nullptr || command->command == Command::None) {
                complain("no command is called " + name.substr(4));
            } else if (!chordsFromList(value, chords)) {
                complain("no key is called " + value);
            } else {
                settings.keys.emplace_back(command->command, chords);
            }
            continue;
        }
        const auto field = std::find_if(fields().begin(), fields().end(),
                                        [&](const Field& f) { return name == f.name; });
        if (field == fields().end()) {
            complain("no setting is called " + name);
        } else {
            PlayerSettings trial = settings;
            if (!field->read(trial, value) || !uiScaleAllowed(trial.uiScale)) {
                complain(name + " cannot be " + value);
            } else {
                settings = trial;
            }
        }
    }
    return settings;
}

void writeSettings(std::ostream& out, const PlayerSettings& settings) {
    out << "# Beamworks settings: name = value, one a line.\n";
    for (const Field& field : fields()) {
        out << field.name << " = " << field.write(settings) << "\n";
    }
    for (const CommandInfo& info : commandTable()) {
        // The last line for a command counts, as when the file is read.
        std::vector<KeyChord> keys = info.keys;
        for (const auto& [command, chords] : settings.keys) {
            if (command == info.command) {
                keys = chords;
            }
        }
        if (keys == info.keys || keys.empty()) {
            continue;
        }
        out << "key." << info.id << " = ";
        for (std::size_t i = 0; i < keys.size(); ++i) {
            out << (i > 0 ? ", " : "") << chordName(keys[i]);
        }
        out << "\n";
    }
}

bool saveSettings(const std::string& path, const PlayerSettings& settings, std::ostream& out) {
    if (path.empty()) {
        out << "Settings not saved: no folder for them (HOME is not set)" << std::endl;
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        writeSettings(file, settings);
        file.flush();
        if (!file) {
            out << "Settings not saved: " << path << " cannot be written" << std::endl;
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        out << "Settings not saved: " << path << " cannot be written" << std::endl;
        std::filesystem::remove(temporary, error);
        return false;
    }
    out << "Settings saved: " << path << std::endl;
    return true;
}

void applySetting(const PlayerSettings& player, const std::string& name, GameSettings& game) {
    if (name == "width" || name == "height") {
        game.screenWidth = player.width; // a size is one setting on the settings screen
        game.screenHeight = player.height;
    } else if (name == "fullscreen") {
        game.windowMode = player.fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW;
    } else if (name == "music") {
        game.music = player.music;
    } else if (name == "music_volume") {
        game.musicVolume = player.musicVolume;
    } else if (name == "effects") {
        game.effects = player.effects;
    } else if (name == "effects_volume") {
        game.effectsVolume = player.effectsVolume;
    } else if (name == "look_speed") {
        game.lookSpeed = static_cast<float>(player.lookSpeed);
    } else if (name == "turn_speed") {
        game.turnSpeed = static_cast<float>(player.turnSpeed);
    } else if (name == "invert_look") {
        game.invertLook = player.invertLook;
    } else if (name == "ui_scale") {
        game.uiScale = static_cast<float>(player.uiScale);
    } else if (name == "colour_labels") {
        game.colourLabels = player.colourLabels;
    } else if (name == "reflections") {
        game.mirroring = player.reflections > 0;
        game.mirroringDepth2 = player.reflections > 1;
    } else if (name == "shadows") {
        game.shadows = player.shadows;
    } else if (name == "energy") {
        game.relaxedEnergy = player.relaxedEnergy;
    }
}

void applyPlayerSettings(const PlayerSettings& player, GameSettings& game, KeyBindings& bindings) {
    for (const Field& field : fields()) {
        applySetting(player, field.name, game);
    }
    for (const auto& [command, chords] : player.keys) {
        bindings.setKeys(command, chords);
    }
}

PlayerSettings loadSettings(const std::string& path, std::ostream& out) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) {
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        out << "Settings " << path << " cannot be read; the defaults stand" << std::endl;
        return {};
    }
    return readSettings(file, path, out);
}
