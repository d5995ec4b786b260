#include "tools/host/TrackPlayer.h"

#include "tools/host/FrameClock.h"
#include "tools/host/ProgressLine.h"
#include "tools/host/WaveformRows.h"

uint64_t FrameAtMs(const WavAudio& audio, uint64_t ms) { return ms * audio.sampleRate / 1000; }

PlayResult PlayTrack(winampVisModule& module, const WavAudio& audio, const PlayOptions& options,
                     ProgressLine& progress) {
    const uint64_t totalMs = audio.DurationMs();
    // A module asking for no delay still gets a frame per millisecond at most.
    const uint64_t delayMs = module.delayMs > 0 ? static_cast<uint64_t>(module.delayMs) : 1;
    module.sRate = static_cast<int>(audio.sampleRate);
    module.nCh = static_cast<int>(audio.channels);

    PlayResult result;
    result.initResult = module.Init(&module);
    if (result.initResult != 0) return result;
    const FrameClock clock;
    uint64_t frameIndex = 0;  // the frame slot on the track's time line: position = index * delay
    for (;;) {
        const uint64_t positionMs = frameIndex * delayMs;
        if (positionMs >= totalMs) {
            if (!options.fast) clock.WaitUntil(totalMs);  // the last frame lasts to the end
            result.positionMs = totalMs;
            break;
        }
        result.positionMs = positionMs;
        if (options.maxFrames >= 0 && result.frames >= options.maxFrames) break;
        if (options.stop && *options.stop) {
            result.stopped = true;
            break;
        }
        if (!options.fast) clock.WaitUntil(positionMs);

        FillWaveformRows(audio, static_cast<size_t>(FrameAtMs(audio, positionMs)), module.waveformData);
        module.Render(&module);
        ++result.frames;
        PumpMessages();
        progress.Update(positionMs, totalMs, result.frames);

        ++frameIndex;
        // Music does not wait for a slow plug-in: when a frame ran late, the next one is
        // taken at the position the clock has reached, as a player would.
        if (!options.fast) {
            const uint64_t due = clock.ElapsedMs() / delayMs;
            if (due > frameIndex) frameIndex = due;
        }
    }
    const uint64_t elapsedMs = clock.ElapsedMs();
    module.Quit(&module);
    progress.Finish(result.positionMs, totalMs, result.frames, elapsedMs);
    return result;
}
