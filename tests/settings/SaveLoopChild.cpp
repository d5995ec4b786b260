// Saves the settings beside this program over and over until it is killed; every save is of
// a new generation, written into each slot's Display and GPU, so a file that mixes two saves
// (or lost part of one) shows. The test that starts it kills it at random moments, and gives
// it the generation to start from.
#include <windows.h>

#include <cstdlib>

#include "settings/ConfigFile.h"

int main(int argc, char** argv) {
    winampVisModule module = {};  // no instance: the folder of this program
    const uint32_t first = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1;
    for (uint32_t generation = first;; ++generation) {
        PLUGINCFG cfg = {};
        cfg.Decay = generation % 8 + 1;
        cfg.PlayerEnable = 1;
        cfg.PlayerWait = 10;
        for (DEVICECFG& slot : cfg.Devices) {
            slot.Enable = static_cast<int32_t>(generation % 2);
            slot.Display = generation;
            slot.GPU = generation;
            slot.Channel = static_cast<int32_t>(generation % 4);
        }
        SaveConfig(&module, cfg);
    }
}
