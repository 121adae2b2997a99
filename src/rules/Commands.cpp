#include "rules/Commands.h"

namespace {

// A line end (which ends the frame's status line), the label and the value as 1 or 0.
void reportSetting(std::ostream& out, const char* label, bool value) {
    out << "\n" << label << (value ? 1 : 0) << std::endl;
}

// The command's switch shows the state the settings are in now.
CommandResult showSwitch(Command command, const GameSettings& s) {
    const SwitchState state = switchState(command, {s});
    CommandResult r;
    r.handled = true;
    r.toggleId = commandInfo(command).id;
    r.caption = state.caption;
    r.on = state.on;
    return r;
}

CommandResult mipmapCycle(GameSettings& s, std::ostream& out) {
    if (!s.mipmapping || !s.mipmapLinear) {
        s.mipmapLinear = !s.mipmapLinear;
        s.mipmapping = true;
    } else {
        s.mipmapping = false;
        s.mipmapLinear = true;
    }
    CommandResult r = showSwitch(Command::Mipmap, s);
    r.reapplyFilters = true;
    out << "\nSet MipMap to on: " << (s.mipmapping ? 1 : 0)
        << " and MipMap Quality to linear: " << (s.mipmapLinear ? 1 : 0) << std::endl;
    return r;
}

CommandResult mirroringCycle(GameSettings& s, std::ostream& out) {
    const char* line;
    if (!s.mirroring) {
        s.mirroring = true;
        s.mirroringDepth2 = false;
        line = "Activate Reflections";
    } else if (!s.mirroringDepth2) {
        s.mirroringDepth2 = true;
        line = "Activate recursice Reflections (2)";
    } else {
        s.mirroring = false;
        s.mirroringDepth2 = false;
        line = "Deactivate Reflections";
    }
    out << "\n" << line << std::endl;
    return showSwitch(Command::Reflections, s);
}

// The commands that switch one setting on or off, with the console label of the new value.
struct OnOffCommand {
    Command command;
    bool GameSettings::*setting;
    const char* label;
};

const OnOffCommand ON_OFF_COMMANDS[] = {
    {Command::Wireframe, &GameSettings::wireframe, "Wireframe Mode: "},
    {Command::TextureFilter, &GameSettings::linearFiltering, "Texture Quality to linear: "},
    {Command::Culling, &GameSettings::frustumCulling, "View Frustum Culling: "},
    {Command::Transparency, &GameSettings::transparency, "Transparency: "},
    {Command::BoundingSpheres, &GameSettings::showBoundingSpheres, "Bounding Spheres: "},
    {Command::ColourLabels, &GameSettings::colourLabels, "Colour Labels: "},
    {Command::Effects, &GameSettings::effects, "Sound Effects: "},
};

} // namespace

CommandResult runCommand(Command command, GameSettings& s, double& energy, bool& gameOver,
                         std::ostream& out) {
    for (const OnOffCommand& c : ON_OFF_COMMANDS) {
        if (c.command == command) {
            bool& value = s.*c.setting;
            value = !value;
            CommandResult r = showSwitch(command, s);
            // New texture filters are applied before the switch shows the new state.
            r.reapplyFilters = r.filtersBeforeToggle = command == Command::TextureFilter;
            reportSetting(out, c.label, value);
            return r;
        }
    }
    CommandResult r;
    r.handled = true;
    switch (command) {
    case Command::Quit:
        s.running = false;
        return r;
    case Command::FpsCounter:
        r.selectFpsCounter = true;
        return r;
    case Command::LaserCounter:
        r.selectLaserCounter = true;
        return r;
    case Command::Mipmap:
        return mipmapCycle(s, out);
    case Command::Reflections:
        return mirroringCycle(s, out);
    case Command::Music:
        r.toggleMusic = true;
        return r;
    case Command::DisplayMode:
        s.windowMode = s.windowMode == GLFW_WINDOW ? GLFW_FULLSCREEN : GLFW_WINDOW;
        r = showSwitch(command, s);
        r.switchDisplay = true;
        return r;
    case Command::LaserPower:
        if (gameOver) {
            return r; // the power stays off until energy is added
        }
        if (energy > 0) {
            s.laserPower = !s.laserPower;
            r = showSwitch(command, s);
        }
        reportSetting(out, "set Laser to: ", s.laserPower);
        return r;
    case Command::Brightness:
        if (s.ambientLevel > 0.4f) {
            s.ambientLevel = 0.1f;
        } else if (s.ambientLevel < 0.4f) {
            s.ambientLevel = 0.8f;
        }
        r = showSwitch(command, s);
        if (!r.on) {
            out << "\nlight off" << std::endl;
        }
        reportSetting(out, "Light: ", r.on);
        return r;
    case Command::Help:
        s.showHelp = !s.showHelp;
        r.toggleHelp = true;
        reportSetting(out, "Help: ", s.showHelp);
        return r;
    case Command::ResetView:
        r.resetView = true;
        out << "\nView reset" << std::endl;
        return r;
    case Command::AddEnergy:
        energy += 10.0;
        gameOver = false;
        r.clearMessage = true;
        return r;
    default:
        return CommandResult{};
    }
}
