// Draws the built-in meshes, prepared and textured as the game shows them, into PNG pictures so a
// person can look at the models. Run it from the top of the tree, where "Media/" is:
//   build/tools/preview/preview docs
// It writes preview-figure.png, preview-figure-sizes.png, preview-tree.png, preview-pile.png and
// preview-floor.png into the folder given.
#include "app/Video.h"
#include "assets/Atlas.h"
#include "assets/Meshes.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <png.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr double FieldOfView = 30.0;
constexpr double Fill = 1.02; // room left around the model in its view

// Where a view's camera stands: around the model and how far up, in degrees.
struct View {
    float yaw;
    float pitch;
};

// Positions to draw: a mesh, or the figure blended to a size.
struct Model {
    std::vector<float> positions;
    const float* texCoords;
    int vertexCount;
};

Model MeshModel(const Mesh& mesh) {
    return {
        {mesh.positions, mesh.positions + mesh.vertexCount * 3}, mesh.texCoords, mesh.vertexCount};
}

Model FigureAt(float size) {
    Model model = MeshModel(FigureSmall);
    for (int i = 0; i < FigureVertices * 3; ++i) {
        model.positions[i] += (FigureLarge.positions[i] - FigureSmall.positions[i]) * size;
    }
    return model;
}

// A square of tiles around the origin, to show how the floor meets itself.
Model FloorPatch(int across) {
    Model model = {{}, nullptr, 0};
    static std::vector<float> texCoords;
    texCoords.clear();
    const float half = static_cast<float>(across - 1) * 0.5f;
    for (int i = 0; i < across; ++i) {
        for (int j = 0; j < across; ++j) {
            for (int v = 0; v < FloorTile.vertexCount; ++v) {
                const float* p = FloorTile.positions + v * 3;
                model.positions.push_back(p[0] + (static_cast<float>(i) - half) * 5.0f);
                model.positions.push_back(p[1]);
                model.positions.push_back(p[2] + (static_cast<float>(j) - half) * 5.0f);
                texCoords.push_back(FloorTile.texCoords[v * 2]);
                texCoords.push_back(FloorTile.texCoords[v * 2 + 1]);
            }
        }
    }
    model.texCoords = texCoords.data();
    model.vertexCount = across * across * FloorTile.vertexCount;
    return model;
}

// Puts the camera so that the whole model fills the viewport, seen from `view`.
void FrameModel(const Model& model, View view, int x, int width) {
    float low[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, high[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (int i = 0; i < model.vertexCount * 3; ++i) {
        low[i % 3] = std::fmin(low[i % 3], model.positions[i]);
        high[i % 3] = std::fmax(high[i % 3], model.positions[i]);
    }
    double centre[3], radius = 0.0;
    for (int k = 0; k < 3; ++k) {
        centre[k] = (low[k] + high[k]) * 0.5;
        radius += (high[k] - low[k]) * (high[k] - low[k]) * 0.25;
    }
    radius = std::sqrt(radius);
    const double aspect = static_cast<double>(width) / WindowHeight;
    const double tangent = std::tan(FieldOfView * 0.5 * M_PI / 180.0);
    const double halfAngle = std::atan(tangent * std::fmin(aspect, 1.0));
    const double distance = radius * Fill / std::sin(halfAngle);
    const double yaw = view.yaw * M_PI / 180.0, pitch = view.pitch * M_PI / 180.0;
    glViewport(x, 0, width, WindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, aspect, distance * 0.1, distance * 3.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double upZ = view.pitch >= 89.0f ? 1.0 : 0.0;
    gluLookAt(centre[0] + distance * std::cos(yaw) * std::cos(pitch),
              centre[1] + distance * std::sin(pitch),
              centre[2] + distance * std::sin(yaw) * std::cos(pitch), centre[0], centre[1],
              centre[2], upZ == 0.0 ? 0.0 : -1.0, upZ == 0.0 ? 1.0 : 0.0, 0.0);
}

void DrawModel(const Model& model) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, model.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, model.texCoords);
    glDrawArrays(GL_TRIANGLES, 0, model.vertexCount);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

// One picture: the models side by side, each in its own view, read back and saved as PNG.
bool SavePicture(const std::string& path, const std::vector<Model>& models,
                 const std::vector<View>& views) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const int count = static_cast<int>(models.size());
    for (int k = 0; k < count; ++k) {
        const int x = WindowWidth * k / count;
        FrameModel(models[k], views[k], x, WindowWidth * (k + 1) / count - x);
        DrawModel(models[k]);
    }
    std::vector<unsigned char> pixels(WindowWidth * WindowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    SDL_GL_SwapBuffers();
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = WindowWidth;
    image.height = WindowHeight;
    image.format = PNG_FORMAT_RGB;
    // GL gives the bottom row first; a negative stride writes it last.
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, pixels.data(),
                                                 -WindowWidth * 3, nullptr) != 0;
    if (!written) {
        std::fprintf(stderr, "preview: cannot write %s: %s\n", path.c_str(), image.message);
    }
    return written;
}
} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "docs";
    InitVideo();
    const std::uint32_t atlas = LoadTextureAtlas();
    if (atlas == 0) {
        std::fprintf(stderr, "preview: no atlas in Media/textureatlas.png; drawing untextured\n");
    }
    PrepareMeshes();
    glClearColor(0.62f, 0.72f, 0.82f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlas);

    const std::vector<View> around = {{20.0f, 15.0f}, {110.0f, 10.0f}, {225.0f, 35.0f}};
    const std::vector<View> front(5, View{25.0f, 15.0f});
    const Model figure = FigureAt(0.0f);
    const Model tree = MeshModel(FirTree);
    const Model pile = MeshModel(SnowPile);
    const Model floor = FloorPatch(3);
    bool ok = SavePicture(folder + "/preview-figure.png", {figure, figure, figure}, around);
    ok &= SavePicture(
        folder + "/preview-figure-sizes.png",
        {FigureAt(0.0f), FigureAt(0.25f), FigureAt(0.5f), FigureAt(0.75f), FigureAt(1.0f)}, front);
    ok &= SavePicture(folder + "/preview-tree.png", {tree, tree, tree},
                      {{20.0f, 10.0f}, {110.0f, -20.0f}, {225.0f, 45.0f}});
    ok &= SavePicture(folder + "/preview-pile.png", {pile, pile, pile}, around);
    ok &= SavePicture(folder + "/preview-floor.png", {floor, floor, floor},
                      {{0.0f, 90.0f}, {45.0f, 45.0f}, {200.0f, 20.0f}});
    SDL_Quit();
    return ok ? 0 : 1;
}
