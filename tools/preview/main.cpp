// duskvale_preview: renders the generated scene from positions of the camera route into PNG files, so
// the models, textures and lightmaps can be looked at without the viewer.
//   duskvale_preview ASSETS_DIR OUT_DIR [--mode lit|albedo|light] [--size W H] [ROW...] [--at x y z tx ty tz]
#include "preview_render.hpp"
#include "scene_layout.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: duskvale_preview ASSETS_DIR OUT_DIR [--mode lit|albedo|light] [--size W H] "
                     "[ROW...] [--at x y z tx ty tz]\n");
        return 2;
    }
    const std::string assets = argv[1], out = argv[2];
    PreviewMode mode = PreviewMode::Lit;
    int width = 960, height = 540;
    std::vector<PreviewView> views;
    const std::vector<CameraRow> route = cameraRoute();
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--mode") && i + 1 < argc) {
            const std::string m = argv[++i];
            mode =
                m == "albedo" ? PreviewMode::Albedo : (m == "light" ? PreviewMode::Light : PreviewMode::Lit);
        } else if (!std::strcmp(argv[i], "--size") && i + 2 < argc) {
            width = std::atoi(argv[++i]);
            height = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--at") && i + 6 < argc) {
            PreviewView v;
            v.position = {std::strtof(argv[i + 1], nullptr), std::strtof(argv[i + 2], nullptr),
                          std::strtof(argv[i + 3], nullptr)};
            v.target = {std::strtof(argv[i + 4], nullptr), std::strtof(argv[i + 5], nullptr),
                        std::strtof(argv[i + 6], nullptr)};
            v.name = "view" + std::to_string(views.size());
            views.push_back(v);
            i += 6;
        } else {
            const int row = std::atoi(argv[i]);
            if (row >= 0 && row < int(route.size()))
                views.push_back({route[row].position, route[row].target, "row" + std::to_string(row)});
        }
    }
    if (views.empty())
        for (int row : {0, 3, 6, 8, 11, 13})
            views.push_back({route[row].position, route[row].target, "row" + std::to_string(row)});

    PreviewScene scene;
    loadPreviewScene(scene, assets);
    for (const std::string& p : scene.problems)
        std::printf("preview: %s\n", p.c_str());
    std::filesystem::create_directories(out);
    for (const PreviewView& v : views) {
        const std::string path = out + "/" + v.name + ".png";
        if (!renderPreview(scene, v, width, height, mode, path)) {
            std::fprintf(stderr, "preview: could not write %s\n", path.c_str());
            return 1;
        }
        std::printf("preview: wrote %s\n", path.c_str());
    }
    return scene.problems.empty() ? 0 : 1;
}
