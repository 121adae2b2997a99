#include "app/Commands.h"

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

} // namespace

CommandResult runCommand(int key, GameSettings& s, double& energy, bool& gameOver,
                         std::ostream& out) {
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
    case GLFW_KEY_F3:
        s.wireframe = !s.wireframe;
        r = toggle("wireframe", s.wireframe, "WIREFRAME MODE ON", "WIREFRAME MODE OFF");
        reportSetting(out, "Wireframe Mode: ", s.wireframe);
        return r;
    case GLFW_KEY_F4:
        s.linearFiltering = !s.linearFiltering;
        r = toggle("texture", s.linearFiltering, "BILINEAR TEXTURING",
                   "NEAREST NEIGHBOR TEXTURING");
        r.reapplyFilters = true;
        r.filtersBeforeToggle = true;
        reportSetting(out, "Texture Quality to linear: ", s.linearFiltering);
        return r;
    case GLFW_KEY_F5:
        return mipmapCycle(s, out);
    case GLFW_KEY_F8:
        s.frustumCulling = !s.frustumCulling;
        r = toggle("frustum", s.frustumCulling, "VIEW FRUSTUM CULLING ON",
                   "VIEW FRUSTUM CULLING OFF");
        reportSetting(out, "View Frustum Culling: ", s.frustumCulling);
        return r;
    case GLFW_KEY_F9:
        s.transparency = !s.transparency;
        r = toggle("transparency", s.transparency, "TRANSPARENCY ON", "TRANSPARENCY OFF");
        reportSetting(out, "Transparency: ", s.transparency);
        return r;
    case GLFW_KEY_F10:
        s.showBoundingSpheres = !s.showBoundingSpheres;
        r = toggle("boundingsphere", s.showBoundingSpheres, "BOUNDING SPHERES ON",
                   "BOUNDING SPHERES OFF");
        reportSetting(out, "Bounding Spheres: ", s.showBoundingSpheres);
        return r;
    case GLFW_KEY_F11:
        return mirroringCycle(s, out);
    case GLFW_KEY_F18:
        r.handled = true;
        r.toggleMusic = true;
        return r;
    case GLFW_KEY_F19:
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
