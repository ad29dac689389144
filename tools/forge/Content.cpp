#include "Content.h"

namespace Forge {

std::vector<Asset> allAssets() {
    std::vector<Asset> assets;
    addMusicAssets(assets);  // first: the slowest, so it starts at once
    addShinyCrossAssets(assets);
    addPilsAssets(assets);
    addHorizonAssets(assets);
    addBalloonAssets(assets);
    addUnderwaterAssets(assets);
    addSkateAssets(assets);
    addDragonflyAssets(assets);
    addFlowerballAssets(assets);
    return assets;
}

}  // namespace Forge
