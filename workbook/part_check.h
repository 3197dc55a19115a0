#pragma once
// Whether every part of a written .xlsx file is whole.
//
// libxlsxwriter assembles each part in a temporary file without checking those writes, so a full
// disk can leave a part cut short inside a file whose writing reported success. Each part is read
// back: its checksum and length must agree with the file's directory, and an XML part must end by
// closing the element it opened.

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace varnex {

/// The check of a finished file, read from its start.
bool everyPartComplete(const std::string& path);

/// The same check made while the file is being written: a thread of its own follows the file as
/// it grows and inflates each part as soon as it is there, so that little is left to read once the
/// writer is done. Made before the writer opens the file (which must then exist and be empty, as
/// a freshly created file is); otherwise, or when the file is laid out in a way the follower does
/// not read, finish() reads the finished file from its start instead.
class PartCheck {
  public:
    explicit PartCheck(const std::string& path);
    ~PartCheck();
    PartCheck(const PartCheck&) = delete;
    PartCheck& operator=(const PartCheck&) = delete;

    /// Once the writer has closed the file: true when every part is whole. When what the follower
    /// read does not show that, the finished file is read from its start to decide.
    bool finish();
    /// After finish(): whether the parts were read as the file was written (rather than after).
    bool followedWhileWritten() const { return followed_; }

    /// What one part read as it was written turned out to be.
    struct Part {
        std::string name;
        unsigned long crc = 0;
        unsigned long long size = 0;
        bool whole = false;  ///< its compressed data ended properly and, for XML, its root element
    };

  private:
    void follow();
    bool followParts();

    std::string path_;
    int fd_ = -1;
    std::atomic<bool> writerDone_{false};
    std::atomic<bool> stop_{false};
    bool followed_ = false;  ///< set by the thread: it read every part up to the directory
    std::vector<Part> parts_;
    std::thread thread_;
};

}  // namespace varnex
