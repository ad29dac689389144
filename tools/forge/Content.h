// The list of generated files. Each content module adds its assets: a file
// name in the data folder and the function that makes its bytes. The runner
// (main.cpp) makes them in list order, or a chosen subset.
//
// Use:
//   for (const Asset& a : allAssets()) write(a.name, a.make());
// To add content: write a make function in the scene's content file and add
// it in that file's add...Assets function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Forge {

struct Asset {
    std::string name;
    std::function<std::vector<std::uint8_t>()> make;
};

std::vector<Asset> allAssets();

// One per content module.
void addMusicAssets(std::vector<Asset>& assets);
void addShinyCrossAssets(std::vector<Asset>& assets);
void addPilsAssets(std::vector<Asset>& assets);
void addHorizonAssets(std::vector<Asset>& assets);
void addBalloonAssets(std::vector<Asset>& assets);
void addUnderwaterAssets(std::vector<Asset>& assets);
void addSkateAssets(std::vector<Asset>& assets);
void addDragonflyAssets(std::vector<Asset>& assets);
void addFlowerballAssets(std::vector<Asset>& assets);

}  // namespace Forge
