// The music asset: the score rendered and encoded as "music.mp3".
#include "Content.h"
#include "Mp3.h"
#include "Music.h"

namespace Forge {

void addMusicAssets(std::vector<Asset>& assets) {
    assets.push_back({"music.mp3", [] { return encodeMp3(renderMusic(composeScore())); }});
}

}  // namespace Forge
