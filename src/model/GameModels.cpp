#include "model/GameModels.h"

#include "model/ModelLoader.h"

namespace {

struct ModelSlot {
    const char* file;
    float angleThreshold;
    bool readTexCoords;
    std::unique_ptr<Model> GameModels::*member;
    int keyframe; // index into goalKeyframes, or -1
};

// Loading order, crease thresholds and texture coordinate use of every class model.
const ModelSlot MODEL_SLOTS[] = {
    {"Auge.3ds", 0.2f, false, &GameModels::eye, -1},
    {"Collector.3ds", 0.2f, true, &GameModels::collector, -1},
    {"Mirror.3ds", 0.3f, true, &GameModels::colorFilter, -1},
    {"LaserEmitter.3ds", 0.3f, true, &GameModels::emitter, -1},
    {"Ziel1.3ds", 0.3f, false, nullptr, 0},
    {"Ziel2.3ds", 0.3f, false, nullptr, 1},
    {"Ziel3.3ds", 0.3f, false, nullptr, 2},
    {"Ziel4.3ds", 0.3f, false, nullptr, 3},
    {"Ziel5.3ds", 0.3f, false, nullptr, 4},
    {"ball.3ds", 0.4f, true, &GameModels::ball, -1},
    {"Holder.3ds", 0.3f, true, &GameModels::holder, -1},
    {"HolderFrame.3ds", 0.3f, true, &GameModels::holderFrame, -1},
    {"LaserBeam.3ds", 0.4f, true, &GameModels::laserBeam, -1},
    {"Lampe.3ds", 0.4f, false, &GameModels::lamp, -1},
    {"Mirror.3ds", 0.3f, true, &GameModels::mirror, -1},
    {"Mirror.3ds", 0.3f, true, &GameModels::mirrorHalf, -1},
    {"Wall.3ds", 0.3f, true, &GameModels::wall, -1},
};

} // namespace

GameModels& gameModels() {
    static GameModels models;
    return models;
}

std::vector<std::string> loadGameModels(const std::string& dir) {
    GameModels& models = gameModels();
    models.directory = dir;
    std::vector<std::string> failed;
    for (const ModelSlot& slot : MODEL_SLOTS) {
        const std::string path = gameModelPath(slot.file);
        std::unique_ptr<Model> model = loadModel(path, slot.angleThreshold, slot.readTexCoords);
        if (!model) {
            failed.push_back(slot.file);
        }
        std::unique_ptr<Model>& target =
            slot.member ? models.*slot.member : models.goalKeyframes[slot.keyframe];
        target = std::move(model);
    }
    return failed;
}

std::string gameModelPath(const std::string& file) {
    const std::string& dir = gameModels().directory;
    return dir.empty() ? file : dir + "/" + file;
}

std::vector<std::string> gameModelFiles() {
    std::vector<std::string> files;
    for (const ModelSlot& slot : MODEL_SLOTS) {
        files.push_back(slot.file);
    }
    return files;
}
