#include "model/GameModels.h"

#include "model/ModelLoader.h"

#include <iostream>

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
    {"HalfMirror.3ds", 0.3f, true, &GameModels::mirrorHalf, -1},
    {"Wall.3ds", 0.3f, true, &GameModels::wall, -1},
};

// The goal's door is blended between its key frames vertex by vertex: every frame must have the
// first one's vertex count, index count and indices. Frames that do not are dropped (with a line
// naming the files) and reported as failed.
void checkGoalKeyframes(GameModels& models, std::vector<std::string>& failed) {
    const Model* first = models.goalKeyframes[0].get();
    if (!first) {
        return;
    }
    std::vector<std::string> unlike;
    for (int i = 1; i < GOAL_KEYFRAME_COUNT; ++i) {
        const Model* frame = models.goalKeyframes[i].get();
        if (frame && (frame->vertexCount != first->vertexCount ||
                      frame->indexCount != first->indexCount || frame->indices != first->indices)) {
            unlike.push_back("Ziel" + std::to_string(i + 1) + ".3ds");
            models.goalKeyframes[i].reset();
        }
    }
    if (!unlike.empty()) {
        std::cout << "The goal door's key frames do not match Ziel1.3ds (vertex count, index "
                     "count or index order):";
        for (const std::string& file : unlike) {
            std::cout << " " << file;
        }
        std::cout << std::endl;
        failed.insert(failed.end(), unlike.begin(), unlike.end());
    }
}

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
    checkGoalKeyframes(models, failed);
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
