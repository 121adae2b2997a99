// beamworks-assets OUTDIR: writes every generated file of the game folder into OUTDIR: the models,
// textures, interface pictures, music and sound effects, and the desktop icons (icons/,
// installed apart).

#include "assets/GameModels3ds.h"
#include "assets/Images.h"
#include "assets/ImagesAppIcon.h"
#include "assets/ImagesPng.h"
#include "assets/MusicMp3.h"
#include "assets/SoundEffects.h"
#include "assets/Textures.h"
#include "assets/TexturesJpeg.h"
#include "assets/Writer3ds.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct GeneratedFile {
    std::string name; ///< path below the output folder
    /// Writes the file to path and returns a short description of its content; throws
    /// std::runtime_error (or any std::exception) on failure.
    std::function<std::string(const std::string& path)> write;
};

std::vector<GeneratedFile> generatedFiles() {
    std::vector<GeneratedFile> files;
    for (const GeneratedModel& model : generatedModelFiles()) {
        files.push_back({model.fileName, [&model](const std::string& path) {
                             const Mesh3ds mesh = model.build();
                             std::string error;
                             if (!write3ds(path, mesh, &error)) {
                                 throw std::runtime_error(error);
                             }
                             return std::to_string(mesh.positions.size()) + " vertices, " +
                                    std::to_string(mesh.faces.size()) + " triangles" +
                                    (mesh.texCoords.empty() ? "" : ", mapped");
                         }});
    }
    for (const GeneratedTexture& texture : generatedTextureFiles()) {
        files.push_back({texture.fileName, [&texture](const std::string& path) {
                             const RgbImage image = texture.build();
                             std::string error;
                             if (!writeJpeg(path, image, &error)) {
                                 throw std::runtime_error(error);
                             }
                             return std::to_string(image.width) + " x " +
                                    std::to_string(image.height) + " RGB";
                         }});
    }
    // The interface's pictures and the desktop's icons.
    for (const std::vector<GeneratedImage>* pictures :
         {&generatedImageFiles(), &generatedIconFiles()}) {
        for (const GeneratedImage& picture : *pictures) {
            files.push_back({picture.fileName, [&picture](const std::string& path) {
                                 const RgbaImage image = picture.build();
                                 std::string error;
                                 if (!writePng(path, image, &error)) {
                                     throw std::runtime_error(error);
                                 }
                                 return std::to_string(image.width) + " x " +
                                        std::to_string(image.height) + " RGBA";
                             }});
        }
    }
    files.push_back({"music/test1.mp3", [](const std::string& path) {
                         const StereoPcm loop = renderMusicLoop();
                         std::string error;
                         if (!encodeMp3(path, loop, &error)) {
                             throw std::runtime_error(error);
                         }
                         return std::to_string(loop.frames() / MUSIC_SAMPLE_RATE) +
                                " s stereo loop, MP3 " + std::to_string(MUSIC_MP3_KBPS) + " kbit/s";
                     }});
    for (int i = 0; i < CUE_COUNT; ++i) {
        const Cue cue = static_cast<Cue>(i);
        files.push_back({cueFile(cue), [cue](const std::string& path) {
                             const std::vector<float> samples = renderEffect(cue);
                             std::string error;
                             if (!writeEffectWav(path, samples, &error)) {
                                 throw std::runtime_error(error);
                             }
                             return std::to_string(samples.size() * 1000 / EFFECT_SAMPLE_RATE) +
                                    " ms mono, WAV 16 bit";
                         }});
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: beamworks-assets OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "cannot create " << outDir.string() << ": " << ec.message() << '\n';
        return 1;
    }
    int failures = 0;
    for (const GeneratedFile& file : generatedFiles()) {
        const std::filesystem::path path = outDir / file.name;
        try {
            std::filesystem::create_directories(path.parent_path());
            const std::string summary = file.write(path.string());
            std::cout << path.string() << ": " << summary << '\n';
        } catch (const std::exception& e) {
            std::cerr << path.string() << ": " << e.what() << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
