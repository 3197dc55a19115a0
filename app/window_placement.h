#pragma once
// Where the main window was on the screen when the program was left, kept in the settings file
// (section "窗口") so that the next start puts it back there, and whether it stays on top.

#include <optional>
#include <string>

namespace varnex {

/// The window's place: the top-left corner of its frame and the size of its client area, in
/// pixels, as it was before it was maximised; and whether it was maximised.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximised = false;
};

/// The stored placement; nothing when the file holds none or a size that is not positive.
std::optional<WindowPlacement> loadWindowPlacement(const std::string& path);
/// Stores the placement; false when the file cannot be written.
bool saveWindowPlacement(const std::string& path, const WindowPlacement& placement);

/// Whether the window stays above other windows (总在最前); off when the file does not say.
bool loadAlwaysOnTop(const std::string& path);
/// Stores the choice of 总在最前 ("1" or "0"); false when the file cannot be written.
bool saveAlwaysOnTop(const std::string& path, bool onTop);

}  // namespace varnex
