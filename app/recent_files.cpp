#include "app/recent_files.h"

#include <algorithm>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "base/text_util.h"

namespace varnex {

const RecentListStore kRecentFilesStore = {"最近打开过的文件", "文件数量", 4, true};
const RecentListStore kExamNamesStore = {"考试名称", "名称数量", 10, false};

namespace {
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool pathsEqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool RecentFileList::same(const std::string& a, const std::string& b) const {
    return store_->ignoreCase ? pathsEqualIgnoringCase(a, b) : a == b;
}

void RecentFileList::load() {
    entries_.clear();
    if (storePath_.empty()) return;
    IniFile file = loadSettingsFile(storePath_);
    int count = std::min(cAtoi(file.get(store_->section, store_->countKey)), store_->capacity);
    for (int i = 1; i <= count; ++i) entries_.push_back(file.get(store_->section, std::to_string(i)));
}

bool RecentFileList::add(const std::string& path) {
    if (!entries_.empty() && same(entries_.front(), path)) return false;
    std::string cur = path;
    size_t i = 0;
    for (; i < entries_.size(); ++i) {
        if (same(entries_[i], path)) break;
        std::swap(entries_[i], cur);
    }
    if (i < entries_.size()) {
        entries_[i] = cur;
    } else if (static_cast<int>(entries_.size()) < store_->capacity && !cur.empty()) {
        entries_.push_back(cur);
    }
    save();
    return true;
}

void RecentFileList::clear() {
    entries_.clear();
    save();
}

bool RecentFileList::save() const {
    if (storePath_.empty()) return false;
    IniFile file = loadSettingsFile(storePath_);
    if (file.unreadable()) return false;  // saving would replace everything it holds
    file.set(store_->section, store_->countKey, std::to_string(entries_.size()));
    for (int i = 0; i < store_->capacity; ++i) {
        file.set(store_->section, std::to_string(i + 1),
                 i < static_cast<int>(entries_.size()) ? entries_[static_cast<size_t>(i)] : std::string());
    }
    return saveSettingsFile(file, storePath_);
}

}  // namespace varnex
