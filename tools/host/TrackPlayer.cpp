#include "tools/host/TrackPlayer.h"

#include "tools/host/ConsoleKeys.h"
#include "tools/host/FrameClock.h"
#include "tools/host/PreferencesPage.h"
#include "tools/host/ProgressLine.h"
#include "tools/host/VisThread.h"
#include "tools/host/WaveformRows.h"

uint64_t FrameAtMs(const WavAudio& audio, uint64_t ms) { return ms * audio.sampleRate / 1000; }

namespace {

// How often the UI thread looks at the stop request and the settings moment.
constexpr DWORD kUiTurnMs = 20;

// The track as the visualization thread sees it: each frame's waveform at the playing
// position, which is the time since the first frame, or delayMs per frame when fast.
class TrackSource : public FrameSource {
public:
    TrackSource(const WavAudio& audio, const PlayOptions& options, ProgressLine& progress)
        : audio_(audio), options_(options), progress_(progress) {}

    void Starting(winampVisModule& module) override {
        module.sRate = static_cast<int>(audio_.sampleRate);
        module.nCh = static_cast<int>(audio_.channels);
        delayMs_ = module.delayMs > 0 ? static_cast<uint64_t>(module.delayMs) : 1;
    }

    bool NextFrame(winampVisModule& module) override {
        if (frames_ == 0) clock_ = FrameClock();
        const uint64_t totalMs = audio_.DurationMs();
        const uint64_t position = options_.fast ? static_cast<uint64_t>(frames_) * delayMs_ : clock_.ElapsedMs();
        if (position >= totalMs) {
            SetPosition(totalMs);
            return false;
        }
        if (options_.maxFrames >= 0 && frames_ >= options_.maxFrames) return false;
        SetPosition(position);
        FillWaveformRows(audio_, static_cast<size_t>(FrameAtMs(audio_, position)), module.waveformData);
        return true;
    }

    void Rendered() override {
        ++frames_;
        progress_.Update(PositionMs(), audio_.DurationMs(), frames_);
    }

    uint64_t PositionMs() const { return static_cast<uint64_t>(InterlockedCompareExchange64(&position_, 0, 0)); }
    uint64_t ElapsedMs() const { return frames_ ? clock_.ElapsedMs() : 0; }

private:
    void SetPosition(uint64_t ms) { InterlockedExchange64(&position_, static_cast<LONG64>(ms)); }

    const WavAudio& audio_;
    const PlayOptions& options_;
    ProgressLine& progress_;
    uint64_t delayMs_ = 1;
    long long frames_ = 0;
    FrameClock clock_;
    mutable volatile LONG64 position_ = 0;  // read by the UI thread
};

void OpenSettings(const std::string& plugin, int module, HWND mainWindow, ProgressLine& progress) {
    progress.Note("glowmeter-host: settings open; the music plays on, Apply restarts the module");
    std::string error;
    if (!OpenPluginSettings(plugin, module, mainWindow, error))
        progress.Note("glowmeter-host: cannot open the settings: " + error);
}

}  // namespace

PlayResult PlayTrack(const std::string& plugin, int module, HWND mainWindow, const WavAudio& audio,
                     const PlayOptions& options, ProgressLine& progress) {
    TrackSource source(audio, options, progress);
    VisRunOptions run;
    run.plugin = plugin;
    run.module = module;
    run.mainWindow = mainWindow;
    run.fullSpeed = options.fast;
    VisThread vis(run, source);

    PlayResult result;
    if (!vis.Start()) {
        result.error = "cannot start the visualization thread";
        return result;
    }
    ConsoleKeys keys;
    bool configAtDone = options.configAtMs < 0;
    for (;;) {
        HANDLE waits[2] = {vis.Handle(), keys.Handle()};
        const DWORD count = waits[1] ? 2 : 1;
        if (MsgWaitForMultipleObjects(count, waits, FALSE, kUiTurnMs, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        PumpMessages();
        if (options.stop && *options.stop && !result.stopped) {
            result.stopped = true;
            vis.RequestStop();
        }
        bool open = keys.TakePress('c');
        if (!configAtDone && source.PositionMs() >= static_cast<uint64_t>(options.configAtMs)) {
            configAtDone = true;
            open = true;
        }
        if (open) OpenSettings(plugin, module, mainWindow, progress);
    }
    vis.Wait(INFINITE);
    const VisRunResult& ran = vis.Result();
    result.error = ran.error;
    result.initResult = ran.initResult;
    result.frames = ran.frames;
    result.positionMs = source.PositionMs();
    if (result.error.empty() && result.initResult == 0)
        progress.Finish(result.positionMs, audio.DurationMs(), result.frames, source.ElapsedMs());
    return result;
}
