#pragma once

#include <string>

namespace varnex::testing {

/// A fresh folder under /tmp, removed with everything in it when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    /// path() + "/" + name
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

/// Reads a whole file; "" when it cannot be read.
std::string readFile(const std::string& path);
/// Writes a whole file.
void writeFile(const std::string& path, const std::string& bytes);
/// The path of a committed fixture.
std::string fixture(const std::string& name);

}  // namespace varnex::testing
