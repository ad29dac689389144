#include "prod/Prod.h"

#include "prod/Balloon.h"
#include "prod/Dragonfly.h"
#include "prod/Flowerball.h"
#include "prod/Horizon.h"
#include "prod/Pils.h"
#include "prod/ShinyCross.h"
#include "prod/Skate.h"
#include "prod/Underwater.h"
#include "vessara/Element.h"

namespace Prod {

float beatSeconds(int beat, float tempo)
{
    return float(double(beat) * 60.0 / double(tempo));
}

std::vector<Vessara::TimelineEntry> timelineEntries(float tempo, const std::array<Vessara::Drawable*, 10>& drawables)
{
    std::vector<Vessara::TimelineEntry> entries;
    entries.reserve(drawables.size());
    for (std::size_t i = 0; i < drawables.size(); ++i)
        entries.push_back({beatSeconds(boundaryBeats[i], tempo), beatSeconds(boundaryBeats[i + 1], tempo), drawables[i]});
    return entries;
}

Prod::Prod(bool wide)
{
    tempo = 163.0f;
    musicPath = "data/music.mp3";
    startOffset = 0.0f;
    fullscreen = true;
    width = 800;
    height = 600;
    viewportX = 0;
    viewportY = wide ? 75 : 0;
    viewportWidth = 800;
    viewportHeight = wide ? 450 : 600;
}

void Prod::load()
{
    Demo::load();

    // The scenes in order of creation (and so of preparation and warm-up):
    // Pils, ShinyCross, Horizon, Flowerball, Dragonfly, Underwater, Balloon,
    // PilsTakeoff, Skate. Pils is shown twice, by entries 1 and 5.
    auto* pils = new Pils(this);
    auto* shinyCross = new ShinyCross(this);
    auto* horizon = new Horizon(this);
    auto* flowerball = new Flowerball(this);
    auto* dragonfly = new Dragonfly(this);
    auto* underwater = new Underwater(this);
    auto* balloon = new Balloon(this);
    auto* pilsTakeoff = new PilsTakeoff(this);
    auto* skate = new Vessara::Skate(this);

    const auto entries = timelineEntries(
        tempo, {pils, shinyCross, horizon, flowerball, pils, dragonfly, underwater, balloon, pilsTakeoff, skate});
    timeline.insert(timeline.end(), entries.begin(), entries.end());
}

}  // namespace Prod
