#include "core/regional.h"

namespace {

TRegionalSettings& Current() {
    static TRegionalSettings settings = ReadRegionalSettings();
    return settings;
}

}  // namespace

const TRegionalSettings& RegionalSettings() { return Current(); }

void ReloadRegionalSettings() { Current() = ReadRegionalSettings(); }

void SetRegionalSettings(const TRegionalSettings& settings) { Current() = settings; }
