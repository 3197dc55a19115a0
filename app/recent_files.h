#pragma once
// The last four workbooks opened successfully, most recent first, kept in the settings file. The
// same list, kept in a section of its own, remembers the exam names used for exports.

#include <string>
#include <vector>

namespace varnex {

/// Where and how a most-recent-first list is kept in the settings file.
struct RecentListStore {
    const char* section;
    const char* countKey;
    int capacity;
    bool ignoreCase;  ///< entries that differ only in the case of Latin letters are one entry
};
/// The recent-file list: section "最近打开过的文件", four paths compared without regard to case.
extern const RecentListStore kRecentFilesStore;
/// The exam names used for exports: section "考试名称", ten names compared exactly.
extern const RecentListStore kExamNamesStore;

class RecentFileList {
  public:
    explicit RecentFileList(const RecentListStore& store = kRecentFilesStore) : store_(&store) {}

    /// The settings file the list is read from and written to ("" writes nothing).
    void setStorePath(std::string path) { storePath_ = std::move(path); }
    const std::string& storePath() const { return storePath_; }

    /// Reads the list; stops after the last entry the list can hold whatever the stored count says.
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
    bool same(const std::string& a, const std::string& b) const;

    const RecentListStore* store_;
    std::string storePath_;
    std::vector<std::string> entries_;
};

/// Compares two paths ignoring the case of Latin letters.
bool pathsEqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace varnex
