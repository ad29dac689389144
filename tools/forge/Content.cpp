#include "Content.h"

namespace Forge {

std::vector<Asset> allAssets() {
    std::vector<Asset> assets;
    addMusicAssets(assets);
    return assets;
}

}  // namespace Forge
