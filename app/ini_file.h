#pragma once
// An INI file with the semantics of the classic private-profile functions: case-insensitive
// section and key names, a missing key reads as "", reads are cut to 259 bytes of the file's
// encoding, an existing key is replaced in place, new sections and keys are appended at the end
// (of the file, of their section), and everything else keeps its order. Files are stored in
// GB18030 (a superset of GBK, byte-identical for every GBK text) unless they were UTF-8 already.
// A file in any other encoding (UTF-16 as some editors save it, a binary file) is not read and
// never rewritten: rewriting it in GB18030 would destroy it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

/// Converts between UTF-8 and GB18030. Undecodable bytes become U+FFFD; characters are never lost
/// on encoding because GB18030 covers all of Unicode.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

class IniFile {
  public:
    enum class Encoding { Gbk, Utf8, Utf8Bom };
    /// Why a file that is there cannot be used.
    enum class Problem {
        None,
        CannotRead,  ///< no permission, not a regular file, a read error
        NotText,     ///< neither GB18030 nor UTF-8 text: a NUL byte, or bytes that do not decode
    };

    /// Reads the file; a missing or unreadable file gives an empty one with exists() false.
    static IniFile load(const std::string& path);
    /// True when load() found something at the path that it could not read or decode. Such a file
    /// must not be replaced by a save of this object, and save() refuses to.
    bool unreadable() const { return problem_ != Problem::None; }
    Problem problem() const { return problem_; }
    /// Parses bytes as they would be read from a file; bytes that are not text give an empty file
    /// with problem() NotText.
    static IniFile fromBytes(std::string_view bytes);

    bool exists() const { return exists_; }
    Encoding encoding() const { return encoding_; }

    /// The value, or "" when the section or key is missing; cut to 259 bytes of the file's encoding.
    std::string get(std::string_view section, std::string_view key) const;
    /// The value, or nothing when the section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    /// Replaces the key's value in place, or appends the key (and its section) as needed. A value
    /// is stored up to its first line break: it can never add lines of its own.
    void set(std::string_view section, std::string_view key, std::string_view value);

    /// The file's bytes in its encoding.
    std::string toBytes() const;
    /// Writes the file atomically (a temporary file in the same folder, then a rename); false, and
    /// nothing written, for a file that was unreadable.
    bool save(const std::string& path) const;

  private:
    struct Location {
        size_t line;
        size_t valueStart;
    };
    std::optional<Location> locate(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;  // UTF-8, without line ends
    Encoding encoding_ = Encoding::Gbk;
    std::string newline_ = "\r\n";
    bool exists_ = false;
    Problem problem_ = Problem::None;
};

/// Writes bytes to path through a temporary file and a rename, so a crash never leaves a
/// half-written file. Returns false (and leaves any old file untouched) on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace varnex
