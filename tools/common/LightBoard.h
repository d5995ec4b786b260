#pragma once
// The table behind the live view of the lights: every display, GPU and light reported so far
// with its latest level, kept in display, GPU, light order, and the texts the view prints.
// Fixed capacity and no platform calls, so an update never allocates and the table can be
// checked on its own.
#include <cstddef>
#include <cstdio>

#include "settings/PluginCfg.h"

struct LightEntry {
    unsigned display;
    unsigned gpu;
    int attribute;
    unsigned level;         // latest level reported
    unsigned peak;          // highest level since the entry was last shown
    unsigned printedLevel;  // level of the latest plain line printed for this light
    long long printedAtMs;  // when that line was printed
    bool printed;           // a plain line was printed at least once
};

class LightBoard {
public:
    static constexpr int kCapacity = 64;
    static constexpr int kBarWidth = 20;
    // Between two plain lines of one light at least this much time passes, so a fast run
    // prints a readable trace instead of thousands of lines a second.
    static constexpr long long kPlainIntervalMs = 100;

    // Records a light's level; returns its entry's index, or -1 when the light is new and
    // the table is full (such a light is left out of the view).
    int Update(unsigned display, unsigned gpu, int attribute, unsigned level) {
        int at = 0;
        while (at < count_ && Before(entries_[at], display, gpu, attribute)) ++at;
        if (at < count_ && Same(entries_[at], display, gpu, attribute)) {
            LightEntry& e = entries_[at];
            e.level = level;
            if (level > e.peak) e.peak = level;
            return at;
        }
        if (count_ == kCapacity) return -1;
        for (int i = count_; i > at; --i) entries_[i] = entries_[i - 1];
        entries_[at] = LightEntry{display, gpu, attribute, level, level, 0, 0, false};
        ++count_;
        return at;
    }

    int Count() const { return count_; }
    const LightEntry& At(int index) const { return entries_[index]; }

    // After a redraw: the peaks start again from the levels shown.
    void ResetPeaks() {
        for (int i = 0; i < count_; ++i) entries_[i].peak = entries_[i].level;
    }

    // Whether the entry's level deserves a plain line now: it differs from the last line
    // printed for that light and the light's interval has passed (or it was never printed).
    // A true answer marks the line as printed.
    bool TakePlainLine(int index, long long nowMs) {
        LightEntry& e = entries_[index];
        if (e.printed && (e.level == e.printedLevel || nowMs - e.printedAtMs < kPlainIntervalMs)) return false;
        MarkPrinted(e, nowMs);
        return true;
    }

    // Whether the entry still shows an older level than it holds (its latest change was
    // held back by the interval); marks it printed. Used once at the end of a run.
    bool TakePendingLine(int index, long long nowMs) {
        LightEntry& e = entries_[index];
        if (e.printed && e.level == e.printedLevel) return false;
        MarkPrinted(e, nowMs);
        return true;
    }

    static const char* LightName(int attribute) {
        switch (attribute) {
            case kAttributeLogo: return "Logo";
            case kAttributeSli: return "SLI";
            case kAttributeZones: return "Zones";
            default: return "?";
        }
    }

    // "D0 G0 Logo  [####++++++..........]  17%": '#' fills up to the level, '+' on from there
    // up to the peak since the entry was last shown (the brief flash before a decayed value),
    // 100 or more is full. Returns the length written (snprintf's rule); the text is always
    // terminated.
    static int FormatBar(const LightEntry& e, char* out, size_t size) {
        char bar[kBarWidth + 1];
        const unsigned filled = Cells(e.level);
        const unsigned peak = Cells(e.peak);
        for (unsigned i = 0; i < static_cast<unsigned>(kBarWidth); ++i) bar[i] = i < filled ? '#' : i < peak ? '+' : '.';
        bar[kBarWidth] = '\0';
        return std::snprintf(out, size, "D%u G%u %-5s [%s] %3u%%", e.display, e.gpu, LightName(e.attribute), bar,
                             e.level);
    }

    static int FormatCsv(long long timeMs, unsigned display, unsigned gpu, int attribute, unsigned level, char* out,
                         size_t size) {
        return std::snprintf(out, size, "%lld,%u,%u,%d,%u\n", timeMs, display, gpu, attribute, level);
    }

private:
    static bool Same(const LightEntry& e, unsigned display, unsigned gpu, int attribute) {
        return e.display == display && e.gpu == gpu && e.attribute == attribute;
    }
    static bool Before(const LightEntry& e, unsigned display, unsigned gpu, int attribute) {
        if (e.display != display) return e.display < display;
        if (e.gpu != gpu) return e.gpu < gpu;
        return e.attribute < attribute;
    }
    static unsigned Cells(unsigned level) { return (level >= 100 ? 100 : level) * kBarWidth / 100; }
    static void MarkPrinted(LightEntry& e, long long nowMs) {
        e.peak = e.level;
        e.printed = true;
        e.printedLevel = e.level;
        e.printedAtMs = nowMs;
    }

    LightEntry entries_[kCapacity] = {};
    int count_ = 0;
};
