#include <epoxy/gl.h>

#include "ShowRenderer.h"

#include "FrameCapture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"

#include <SDL.h>

namespace Capture {

double showEnd()
{
    const Prod::Prod prod;
    return Prod::beatSeconds(Prod::boundaryBeats.back(), prod.tempo);
}

ShowRenderer::ShowRenderer(bool wide) : prod(wide)
{
    prod.fullscreen = false;
}

void ShowRenderer::startUp()
{
    // The music decodes on its own thread while the show loads.
    prod.startUpDecoding(music);
}

unsigned ShowRenderer::render(double time, double frameDelta)
{
    float spectrum[256];
    const double bytes = time * Vessara::musicBytesPerSecond;
    const bool heard = music.spectrumAt(bytes > 0 ? std::uint64_t(bytes) : 0, spectrum);
    prod.renderFrame(float(time), float(frameDelta), heard ? spectrum : nullptr);
    unsigned errors = 0;
    while (Kestrane::checkError())
        ++errors;
    return errors;
}

void ShowRenderer::finish() const
{
    glFinish();
}

std::vector<std::uint8_t> ShowRenderer::read() const
{
    return readFrame(prod.width, prod.height);
}

bool ShowRenderer::quitRequested() const
{
    return SDL_QuitRequested();
}

void ShowRenderer::shutDown()
{
    prod.shutDown();
}

}  // namespace Capture
