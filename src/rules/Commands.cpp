#include "rules/Commands.h"

namespace {

// A line end (which ends the frame's status line), the label and the value as 1 or 0.
void reportSetting(std::ostream& out, const char* label, bool value) {
    out << "\n" << label << (value ? 1 : 0) << std::endl;
}

CommandResult toggle(const char* id, bool on, const char* onCaption, const char* offCaption) {
    CommandResult r;
    r.handled = true;
    r.toggleId = id;
    r.on = on;
    r.caption = on ? onCaption : offCaption;
    return r;
}

CommandResult mipmapCycle(GameSettings& s, std::ostream& out) {
    CommandResult r;
    if (!s.mipmapping || !s.mipmapLinear) {
        s.mipmapLinear = !s.mipmapLinear;
        s.mipmapping = true;
        r = toggle("mipmap", true,
                   s.mipmapLinear ? "MIP MAPPING: LINEAR" : "MIP MAPPING: NEAREST NEIGHBOR", "");
    } else {
        s.mipmapping = false;
        s.mipmapLinear = true;
        r = toggle("mipmap", false, "", "MIP MAPPING: OFF");
    }
    r.reapplyFilters = true;
    out << "\nSet MipMap to on: " << (s.mipmapping ? 1 : 0)
        << " and MipMap Quality to linear: " << (s.mipmapLinear ? 1 : 0) << std::endl;
    return r;
}

CommandResult mirroringCycle(GameSettings& s, std::ostream& out) {
    CommandResult r;
    const char* line;
    if (!s.mirroring) {
        s.mirroring = true;
        s.mirroringDepth2 = false;
        r = toggle("mirroring", true, "MIRRORING DEPTH 1", "");
        line = "Activate Reflections";
    } else if (!s.mirroringDepth2) {
        s.mirroringDepth2 = true;
        r = toggle("mirroring", true, "MIRRORING DEPTH 2", "");
        line = "Activate recursice Reflections (2)";
    } else {
        s.mirroring = false;
        s.mirroringDepth2 = false;
        r = toggle("mirroring", false, "", "MIRRORING OFF");
        line = "Deactivate Reflections";
    }
    out << "\n" << line << std::endl;
    return r;
}

// The keys that switch one setting on or off: the switch they set, its two captions, and the
// console label of the new value.
struct OnOffCommand {
    int key;
    bool GameSettings::*setting;
    const char* id;
    const char* onCaption;
    const char* offCaption;
    const char* label;
};

const OnOffCommand ON_OFF_COMMANDS[] = {
    {GLFW_KEY_F3, &GameSettings::wireframe, "wireframe", "WIREFRAME MODE ON", "WIREFRAME MODE OFF",
     "Wireframe Mode: "},
    {GLFW_KEY_F4, &GameSettings::linearFiltering, "texture", "BILINEAR TEXTURING",
     "NEAREST NEIGHBOR TEXTURING", "Texture Quality to linear: "},
    {GLFW_KEY_F8, &GameSettings::frustumCulling, "frustum", "VIEW FRUSTUM CULLING ON",
     "VIEW FRUSTUM CULLING OFF", "View Frustum Culling: "},
    {GLFW_KEY_F9, &GameSettings::transparency, "transparency", "TRANSPARENCY ON",
     "TRANSPARENCY OFF", "Transparency: "},
    {GLFW_KEY_F10, &GameSettings::showBoundingSpheres, "boundingsphere", "BOUNDING SPHERES ON",
     "BOUNDING SPHERES OFF", "Bounding Spheres: "},
    {'C', &GameSettings::colourLabels, "colourlabels", "COLOUR LABELS ON", "COLOUR LABELS OFF",
     "Colour Labels: "},
};

} // namespace

CommandResult runCommand(int key, GameSettings& s, double& energy, bool& gameOver,
                         std::ostream& out) {
    for (const OnOffCommand& c : ON_OFF_COMMANDS) {
        if (c.key == key) {
            bool& value = s.*c.setting;
            value = !value;
            CommandResult r = toggle(c.id, value, c.onCaption, c.offCaption);
            // New texture filters are applied before the switch shows the new state.
            r.reapplyFilters = r.filtersBeforeToggle = key == GLFW_KEY_F4;
            reportSetting(out, c.label, value);
            return r;
        }
    }
    CommandResult r;
    switch (key) {
    case GLFW_KEY_ESC:
        s.running = false;
        r.handled = true;
        return r;
    case GLFW_KEY_F2:
        r.handled = true;
        r.selectFpsCounter = true;
        return r;
    case GLFW_KEY_F5:
        return mipmapCycle(s, out);
    case GLFW_KEY_F11:
        return mirroringCycle(s, out);
    case GLFW_KEY_F18:
    case 'M': // for keyboards without F18
        r.handled = true;
        r.toggleMusic = true;
        return r;
    case GLFW_KEY_F19:
    case 'F': // for keyboards without F19
        if (s.windowMode == GLFW_WINDOW) {
            s.windowMode = GLFW_FULLSCREEN;
            r = toggle("fullscreen", true, "FULLSCREEN MODE", "");
        } else {
            s.windowMode = GLFW_WINDOW;
            r = toggle("fullscreen", false, "", "WINDOW MODE");
        }
        r.switchDisplay = true;
        return r;
    case GLFW_KEY_SPACE:
        r.handled = true;
        if (gameOver) {
            return r; // the power stays off until energy is added
        }
        if (energy > 0) {
            s.laserPower = !s.laserPower;
            r = toggle("power", s.laserPower, "LASER POWER ON", "LASER POWER OFF");
        }
        reportSetting(out, "set Laser to: ", s.laserPower);
        return r;
    case GLFW_KEY_ENTER:
        if (s.ambientLevel > 0.4f) {
            s.ambientLevel = 0.1f;
        } else if (s.ambientLevel < 0.4f) {
            s.ambientLevel = 0.8f;
        }
        r = toggle("light", s.ambientLevel >= 0.2f, "LIGHT ON", "LIGHT OFF");
        if (!r.on) {
            out << "\nlight off" << std::endl;
        }
        reportSetting(out, "Light: ", r.on);
        return r;
    case GLFW_KEY_F1:
        s.showHelp = !s.showHelp;
        r.handled = true;
        r.toggleHelp = true;
        reportSetting(out, "Help: ", s.showHelp);
        return r;
    case GLFW_KEY_HOME:
        r.handled = true;
        r.resetView = true;
        out << "\nView reset" << std::endl;
        return r;
    case '#':
        energy += 10.0;
        gameOver = false;
        r.handled = true;
        r.clearMessage = true;
        return r;
    default:
        return r;
    }
}
