#pragma once
// A workbook's shared strings as one block of text with end offsets (no allocation per string).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/reader_limits.h"

namespace varnex {

/// The shared strings of a workbook, indexed from 0.
class StringTable {
  public:
    size_t size() const { return ends_.size(); }
    std::string_view at(size_t i) const {
        uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    /// Appends a string; false when the table's limits would be passed.
    bool add(std::string_view s) {
        if (ends_.size() >= limits::kMaxSharedStrings ||
            text_.size() + s.size() > limits::kMaxSharedStringBytes)
            return false;
        text_.append(s);
        ends_.push_back(static_cast<uint32_t>(text_.size()));
        return true;
    }

  private:
    std::string text_;
    std::vector<uint32_t> ends_;
};

}  // namespace varnex
