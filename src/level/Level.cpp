#include "level/Level.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/LaserBeam.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>

Level* currentLevel = nullptr;

namespace {

std::unique_ptr<Level> currentLevelStorage;

constexpr int END_OF_FILE = -1;
constexpr int END_MARK = 0xFF; // a byte that ends the file where a directive could start

// Reads the level grammar one byte at a time. Every read that meets the end of the file makes
// the reader stop; what was built so far stays.
class LevelReader {
  public:
    LevelReader(std::istream& in, Level& level) : in_(in), level_(level) {}

    void run() {
        while (true) {
            const int c = in_.get();
            if (c == std::char_traits<char>::eof() || c == END_MARK) {
                return;
            }
            if (c == '#' || c == '+') {
                if (!property(c == '+')) {
                    return;
                }
            } else if (c == '@') {
                if (!objectDirective()) {
                    return;
                }
            }
        }
    }

  private:
    enum class Type { None, Camera, Other };

    int next() {
        const int c = in_.get();
        return c == std::char_traits<char>::eof() ? END_OF_FILE : c;
    }

    // One skipped byte, then three letters.
    bool keyword(std::string& word) {
        if (next() == END_OF_FILE) {
            return false;
        }
        word.clear();
        for (int i = 0; i < 3; ++i) {
            const int c = next();
            if (c == END_OF_FILE) {
                return false;
            }
            word.push_back(static_cast<char>(c));
        }
        return true;
    }

    // The text up to the next ';', converted as atof does.
    bool number(double& value) {
        std::string text;
        for (int c = next(); c != ';'; c = next()) {
            if (c == END_OF_FILE) {
                return false;
            }
            text.push_back(static_cast<char>(c));
        }
        value = std::atof(text.c_str());
        return true;
    }

    bool triple(float v[3]) {
        for (int i = 0; i < 3; ++i) {
            double d;
            if (!number(d)) {
                return false;
            }
            v[i] = static_cast<float>(d);
        }
        return true;
    }

    static float radians(double degrees) {
        return static_cast<float>(degrees / 180.0 * 3.141592653589793);
    }

    // A texture index: the number truncated toward zero, kept within int.
    static int truncatedIndex(double value) {
        if (std::isnan(value)) {
            return 0;
        }
        if (value >= static_cast<double>(INT_MAX)) {
            return INT_MAX;
        }
        if (value <= static_cast<double>(INT_MIN)) {
            return INT_MIN;
        }
        return static_cast<int>(value);
    }

    bool objectDirective() {
        std::string word;
        if (!keyword(word)) {
            return false;
        }
        type_ = Type::Other;
        active_ = true;
        if (word == "EMI") {
            build(std::make_unique<Emitter>());
        } else if (word == "FIN") {
            build(std::make_unique<FinshHead>());
        } else if (word == "WAL") {
            build(std::make_unique<Wall>());
        } else if (word == "MIR") {
            mounted(std::make_unique<Mirror>());
        } else if (word == "HMI") {
            mounted(std::make_unique<MirrorHalf>());
        } else if (word == "FIL") {
            mounted(std::make_unique<ColorFilter>());
        } else if (word == "COL") {
            build(std::make_unique<Collector>());
        } else if (word == "LIG") {
            level_.lights.push_back(build(std::make_unique<Light>()));
        } else {
            type_ = word == "CAM" ? Type::Camera : Type::Other;
            active_ = false;
        }
        return true;
    }

    template <class T> T* build(std::unique_ptr<T> object) {
        return level_.adopt(std::move(object));
    }

    // An element in its frame in its holder: the element is owned by the level, the frame by
    // the holder.
    void mounted(std::unique_ptr<ActiveObject> element) {
        build(std::make_unique<Holder>(level_.keep(std::move(element))));
    }

    bool property(bool firstChild) {
        std::string word;
        if (!keyword(word)) {
            return false;
        }
        for (int c = next(); c != ' '; c = next()) {
            if (c == END_OF_FILE) {
                return false;
            }
        }
        Renderable* target = active_ ? level_.objects.back() : nullptr;
        Renderable* child = nullptr;
        if (target && firstChild && !target->children.empty()) {
            child = target->children.front();
        }
        // The target of a transformation: the object, or its first child behind '+'.
        Renderable* moved = firstChild ? child : target;

        float v[3];
        double d;
        if (word == "Pos") {
            if (!triple(v)) {
                return false;
            }
            if (type_ == Type::Camera) {
                for (int i = 0; i < 3; ++i) {
                    level_.cameraOffset[i] =
                        static_cast<float>(-std::trunc(static_cast<double>(v[i])));
                }
            } else if (moved) {
                moved->translate(v[0], v[1], v[2]);
            }
        } else if (word == "XRo" || word == "YRo" || word == "ZRo") {
            if (!number(d)) {
                return false;
            }
            if (type_ == Type::Camera && !firstChild && word[0] != 'Z') {
                (word[0] == 'X' ? level_.cameraPitch : level_.cameraYaw) = static_cast<float>(d);
            } else if (moved) {
                const float a = radians(d);
                if (word[0] == 'X') {
                    moved->rotateX(a);
                } else if (word[0] == 'Y') {
                    moved->rotateY(a);
                } else {
                    moved->rotateZ(a);
                }
            }
        } else if (word == "Sca") {
            if (!triple(v)) {
                return false;
            }
            if (moved) {
                moved->scale(v[0], v[1], v[2]);
            }
        } else if (word == "Col") {
            const int c = next();
            if (c == END_OF_FILE) {
                return false;
            }
            if (target) {
                target->setColor(static_cast<signed char>(c - '0'));
            }
        } else if (word == "Tex") {
            if (!number(d)) {
                return false;
            }
            if (target) {
                target->setTexture(truncatedIndex(d));
            }
        }
        return true;
    }

    std::istream& in_;
    Level& level_;
    Type type_ = Type::None;
    bool active_ = false;
};

} // namespace

Level::Level() : transparentSet(std::make_unique<TransparentSet>()) {}

Level::Level(const std::string& fileName) : Level() {
    std::ifstream file(fileName);
    if (!file) {
        std::cout << "Cannot open level file: " << fileName << std::endl;
        loaded_ = false;
        return;
    }
    read(file);
}

Level::~Level() = default;

void Level::read(std::istream& in) {
    LevelReader(in, *this).run();
}

void Level::addObject(Renderable* object) {
    for (Renderable* child : object->getChildren()) {
        addObject(child);
    }
    objects.push_back(object);
    if (auto* beam = dynamic_cast<LaserBeam*>(object)) {
        laserBeams.push_back(beam);
        registerTransparent(*transparentSet, beam);
        return;
    }
    if (auto* goal = dynamic_cast<FinshHead*>(object)) {
        goals.push_back(goal);
    }
    if (auto* element = dynamic_cast<ActiveObject*>(object)) {
        activeObjects.push_back(element);
        if (dynamic_cast<Wall*>(object)) {
            walls.push_back(element);
        }
    }
    if (auto* filter = dynamic_cast<ColorFilter*>(object)) {
        colorFilters.push_back(filter);
    }
}

void Level::clearLaserBeams() {
    for (std::size_t i = 0; i < laserBeams.size() && !objects.empty(); ++i) {
        objects.pop_back();
    }
    laserBeams.clear();
    ownedBeams_.clear();
}

std::string readLeadingComment(std::istream& in) {
    std::string text;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (c == '@' || c == '#' || c == '+' || c == END_MARK) {
            break;
        }
        text.push_back(static_cast<char>(c));
    }
    return text;
}

bool isPuzzleElement(const Renderable* object) {
    return dynamic_cast<const Emitter*>(object) || dynamic_cast<const Mirror*>(object) ||
           dynamic_cast<const MirrorHalf*>(object) || dynamic_cast<const ColorFilter*>(object) ||
           dynamic_cast<const Collector*>(object) || dynamic_cast<const FinshHead*>(object);
}

bool loadLevel(const std::string& fileName) {
    auto level = std::make_unique<Level>(fileName);
    const bool loaded = level->isLoaded();
    setCurrentLevel(std::move(level));
    return loaded;
}

void setCurrentLevel(std::unique_ptr<Level> level) {
    currentLevelStorage = std::move(level);
    currentLevel = currentLevelStorage.get();
}
