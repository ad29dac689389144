// The maker's mode (vessara --edit): the show with a transport, a status
// line and live reload of the data directories. The other side of the
// FrameSession seam; the show's frame path is the same.
//
// Use:
//   demo.session = std::make_unique<EditSession>();   before demo.run().
//   clock(demo, showClock)   makes the Transport (Transport.h) on the demo's
//                            music: the clock every frame then reads.
//   startFrame(demo)         transport keys pressed since the last frame:
//                            Space pause/resume, Left/Right a beat (Shift: a
//                            bar of four), PageUp/PageDown the previous/next
//                            entry's start, Home the start, L loop the entry
//                            shown; then files of data/ and vessara_data/
//                            that have been quiet for settleSeconds are
//                            reloaded into the caches.
//   finishFrame(demo)        the reload errors still standing and the status
//                            line, over the picture (StatusLine.h).
// For tests, the same steps with their inputs given:
//   EditSession(ticks, watch = false)   the wall clock of the settling and
//                            of the frame rate; no watcher: files are told
//                            with fileChanged.
//   fileChanged(path)        a change of that file seen now.
//   reloadSettled(demo)      reloads the files quiet long enough.
//   errors()                 path -> the reason it did not reload
//                            ("FILE:LINE:COLUMN: error: ..." for shaders);
//                            cleared when the file loads. Each new one is also
//                            printed on standard error.
//   statusText(demo)         the status line's text.
#pragma once

#include "kestrane/Timer.h"
#include "vessara/FrameSession.h"
#include "vessara/SettledFiles.h"

#include <map>
#include <memory>
#include <string>

namespace Vessara {

class FileWatcher;
class StatusLine;
class Transport;

class EditSession : public FrameSession {
public:
    static constexpr double settleSeconds = 0.3;

    explicit EditSession(Kestrane::TickSource ticks = Kestrane::performanceCounter(), bool watch = true);
    ~EditSession() override;

    MusicClock& clock(Demo& demo, MusicClock& showClock) override;
    void startFrame(Demo& demo) override;
    void finishFrame(Demo& demo) override;
    bool endsByItself() const override { return false; }  // until Escape or the window closes

    void fileChanged(const std::string& path);
    void reloadSettled(Demo& demo);
    const std::map<std::string, std::string>& errors() const { return reloadErrors; }
    std::string statusText(const Demo& demo) const;
    Transport* transport() { return transportClock.get(); }

private:
    void handleKeys();
    void reload(Demo& demo, const std::string& path);

    Kestrane::Timer wallClock;
    bool watching;
    std::unique_ptr<FileWatcher> watcher;
    SettledFiles settled{settleSeconds};
    std::unique_ptr<Transport> transportClock;
    std::unique_ptr<StatusLine> statusLine;
    std::map<std::string, std::string> reloadErrors;
    unsigned keysHeld = 0;  // bit per transport key, last frame
    double lastFrameAt = 0.0;
    double frameSeconds = 0.0;  // smoothed wall time per frame
};

}  // namespace Vessara
