#pragma once
// The background music: a tracker module built into the program, rendered by libopenmpt and
// played through Qt Multimedia on a thread of its own. Without a sound device (or when the
// program was built without music support) start and stop do nothing audible and never block.

#include <memory>

namespace varnex::ui {

class MusicPlayer {
  public:
    /// Loads the module from the resources; playback starts only with start().
    MusicPlayer();
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    /// Plays the module from its beginning, looping until stop(); restarts when playing.
    void start();
    /// Silences the music at once and releases the sound output.
    void stop();
    /// False when the program was built without music or the module could not be read.
    bool available() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace varnex::ui
