#pragma once
// The last four workbooks opened successfully, most recent first, kept in the settings file.

#include <string>
#include <vector>

namespace varnex {

class RecentFileList {
  public:
    static constexpr int kCapacity = 4;

    /// The settings file the list is read from and written to ("" writes nothing).
    void setStorePath(std::string path) { storePath_ = std::move(path); }
    const std::string& storePath() const { return storePath_; }

    /// Reads the list; stops after the fourth entry whatever the stored count says.
    void load();
    /// Puts a successfully opened path at the top. Returns false (and writes nothing) when the
    /// path is already first.
    bool add(const std::string& path);
    /// Empties the list and writes it.
    void clear();
    /// Writes the count and the four keys.
    bool save() const;

    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }

  private:
    std::string storePath_;
    std::vector<std::string> entries_;
};

/// Compares two paths ignoring the case of Latin letters.
bool pathsEqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace varnex
