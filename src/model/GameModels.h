#pragma once
// The shared models of the scene classes, one per class, loaded once and kept for the program's
// run. The game loads them before main starts; tools and tests call loadGameModels themselves.

#include "core/Model.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

constexpr int GOAL_KEYFRAME_COUNT = 5;
/// The cells along each edge of the half mirror's pane, which it colours checkered: its model
/// has a vertex grid line between every two cells.
constexpr int HALF_MIRROR_CELLS = 6;

struct GameModels {
    /// Folder the models were loaded from ("" for the working directory).
    std::string directory;
    std::unique_ptr<Model> eye;                                            ///< Camera
    std::unique_ptr<Model> collector;                                      ///< Collector
    std::unique_ptr<Model> colorFilter;                                    ///< ColorFilter
    std::unique_ptr<Model> emitter;                                        ///< Emitter
    std::array<std::unique_ptr<Model>, GOAL_KEYFRAME_COUNT> goalKeyframes; ///< Finish
    std::unique_ptr<Model> ball;                                           ///< FinshHead
    std::unique_ptr<Model> holder;                                         ///< Holder
    std::unique_ptr<Model> holderFrame;                                    ///< HolderFrame
    std::unique_ptr<Model> laserBeam;                                      ///< LaserBeam
    std::unique_ptr<Model> lamp;                                           ///< Light
    std::unique_ptr<Model> mirror;                                         ///< Mirror
    std::unique_ptr<Model> mirrorHalf;                                     ///< MirrorHalf
    std::unique_ptr<Model> wall;                                           ///< Wall
};

/// The models of the running program; empty (null) until loadGameModels has run.
GameModels& gameModels();

/// Loads every class model, in the game's fixed order, from the folder `dir` ("" for the working
/// directory, opening bare file names), replacing those loaded before. Returns the file names
/// that could not be loaded (missing or malformed), and the goal door's key frames that do not
/// share the first one's vertices and indices; their models stay null.
std::vector<std::string> loadGameModels(const std::string& dir = "");

/// The path of a model file in the folder the models were loaded from.
std::string gameModelPath(const std::string& file);

/// The model files the game reads, in loading order (a file read twice appears twice).
std::vector<std::string> gameModelFiles();
