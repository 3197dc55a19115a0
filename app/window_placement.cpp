#include "app/window_placement.h"

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "base/text_util.h"

namespace varnex {

namespace {
const char* const kSection = "窗口";

struct PlacementKey {
    const char* key;
    int WindowPlacement::*field;
};
const PlacementKey kKeys[] = {
    {"左", &WindowPlacement::left},
    {"上", &WindowPlacement::top},
    {"宽", &WindowPlacement::width},
    {"高", &WindowPlacement::height},
};
const char* const kMaximisedKey = "最大化";
const char* const kAlwaysOnTopKey = "总在最前";
}  // namespace

std::optional<WindowPlacement> loadWindowPlacement(const std::string& path) {
    if (path.empty()) return std::nullopt;
    IniFile file = loadSettingsFile(path);
    WindowPlacement placement;
    for (const PlacementKey& k : kKeys) {
        std::optional<std::string> value = file.find(kSection, k.key);
        if (!value) return std::nullopt;
        placement.*k.field = cAtoi(*value);
    }
    if (placement.width <= 0 || placement.height <= 0) return std::nullopt;
    placement.maximised = cAtoi(file.get(kSection, kMaximisedKey)) != 0;
    return placement;
}

bool saveWindowPlacement(const std::string& path, const WindowPlacement& placement) {
    if (path.empty()) return false;
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return false;  // saving would replace everything it holds
    for (const PlacementKey& k : kKeys) file.set(kSection, k.key, strprintf("%d", placement.*k.field));
    file.set(kSection, kMaximisedKey, placement.maximised ? "1" : "0");
    return saveSettingsFile(file, path);
}

bool loadAlwaysOnTop(const std::string& path) {
    if (path.empty()) return false;
    return cAtoi(loadSettingsFile(path).get(kSection, kAlwaysOnTopKey)) != 0;
}

bool saveAlwaysOnTop(const std::string& path, bool onTop) {
    if (path.empty()) return false;
    IniFile file = loadSettingsFile(path);
    if (file.unreadable()) return false;  // saving would replace everything it holds
    file.set(kSection, kAlwaysOnTopKey, onTop ? "1" : "0");
    return saveSettingsFile(file, path);
}

}  // namespace varnex
