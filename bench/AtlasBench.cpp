// Decode and upload times of the shipped atlas. Needs a display: scripts/measure-atlas runs it.
#include "app/Video.h"
#include "assets/Atlas.h"

#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <string>

namespace {

const std::string AtlasFile = std::string(SOURCE_DIR) + "/Media/textureatlas.png";

void DecodeAtlas(benchmark::State& state) {
    for (auto _ : state) {
        SDL_Surface* surface = IMG_Load(AtlasFile.c_str());
        benchmark::DoNotOptimize(surface);
        SDL_FreeSurface(surface);
    }
}
BENCHMARK(DecodeAtlas)->Unit(benchmark::kMillisecond);

void PrepareDecodedAtlas(benchmark::State& state) {
    SDL_Surface* surface = IMG_Load(AtlasFile.c_str());
    AtlasPixels pixels;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PrepareAtlasPixels(surface, pixels));
    }
    SDL_FreeSurface(surface);
}
BENCHMARK(PrepareDecodedAtlas)->Unit(benchmark::kMillisecond);

void UploadPreparedAtlas(benchmark::State& state) {
    SDL_Surface* surface = IMG_Load(AtlasFile.c_str());
    AtlasPixels pixels;
    PrepareAtlasPixels(surface, pixels);
    SDL_FreeSurface(surface);
    for (auto _ : state) {
        GLuint name = UploadAtlas(pixels);
        glFinish();
        glDeleteTextures(1, &name);
    }
}
BENCHMARK(UploadPreparedAtlas)->Unit(benchmark::kMillisecond);

// The whole of the game's start-up step, from the file to a mipmapped texture.
void LoadAtlasFromFile(benchmark::State& state) {
    for (auto _ : state) {
        GLuint name = LoadTextureAtlas();
        glFinish();
        if (name == 0) {
            state.SkipWithError("the atlas did not load");
            break;
        }
        glDeleteTextures(1, &name);
    }
}
BENCHMARK(LoadAtlasFromFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    InitVideo();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SDL_Quit();
    return 0;
}
