#include "workbook/workbook_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "base/text_util.h"
#include "workbook/workbook_texts.h"
#include "workbook/xlsx_writer.h"

namespace varnex {

namespace tx = workbook_texts;

namespace {

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The folder part of a path ("." when there is none).
std::string folderOfPath(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A base name is a file name, never a path: separators and control characters become "_".
std::string fileNameSafe(const std::string& baseName) {
    std::string name = baseName;
    for (char& ch : name) {
        if (ch == '/' || (static_cast<unsigned char>(ch) < 0x20)) ch = '_';
    }
    return name;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

Error failed(const std::string& path, const std::string& reason, ErrorKind kind) {
    return fail(kind, strprintf(tx::kSaveFailedFormat, path.c_str(), reason.c_str()));
}

// A failure to create, write or rename a file: the folder refused it (no permission, a read-only
// file system, no such folder), the name cannot be a file's, or the writing itself failed (a full
// disk, an I/O error).
ErrorKind kindOfErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
        case ENOENT:
        case ENOTDIR:
            return ErrorKind::FolderRefused;
        case ENAMETOOLONG:
            return ErrorKind::BadInput;  // no folder takes that name
        default:
            return ErrorKind::WriteFailed;
    }
}

Error failed(const std::string& path, int error) {
    return failed(path, fileErrorReason(error), kindOfErrno(error));
}

/// A hidden file in the target folder that the workbook is written to first; removed unless it was
/// renamed into place.
class PendingFile {
  public:
    /// Creates the file; 0 or the errno of the failure.
    int create(const std::string& folder) {
        std::random_device seed;
        std::mt19937 rng(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate =
                joinPath(folder, strprintf(".varnex-%08x.xlsx.part", static_cast<unsigned>(rng())));
            int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                path_ = candidate;
                return 0;
            }
            if (errno != EEXIST) return errno;
        }
        return EEXIST;
    }
    ~PendingFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const std::string& path() const { return path_; }
    void placed() { path_.clear(); }

    /// Forces the written bytes to the disk; 0 or the errno of the failure.
    int sync() const {
        int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno;
        int result = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return result;
    }

  private:
    std::string path_;
};

/// Renames `from` to `to` unless `to` exists; 0 or the errno (EEXIST when the name is taken).
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // The file system cannot refuse a taken name in the rename itself: a hard link can.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno == EEXIST) return EEXIST;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) return errno;
    // Neither (some removable-disk file systems): check, then rename.
    if (exists(to)) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

SaveTarget saveTargetFor(const std::string& outputPath, bool overwrite, const std::string& folder,
                         const std::string& baseName) {
    if (!outputPath.empty()) return {.exactPath = outputPath, .overwrite = overwrite};
    return {.folder = folder, .baseName = baseName};
}

Result<std::string> saveWorkbook(WorkbookModel& workbook, const SaveTarget& target) {
    const bool exact = !target.exactPath.empty();
    std::string folder;
    std::string baseName;
    std::string path;
    if (exact) {
        path = target.exactPath;
        folder = folderOfPath(path);
        if (isDirectory(path)) return failed(path, tx::kSaveIsFolder, ErrorKind::BadInput);
        if (!target.overwrite && exists(path)) return failed(path, tx::kSaveExists, ErrorKind::BadInput);
    } else {
        folder = target.folder.empty() ? std::string(".") : target.folder;
        baseName = fileNameSafe(target.baseName);
        path = joinPath(target.folder, baseName + ".xlsx");
        if (baseName.size() + std::strlen(".xlsx") > NAME_MAX)
            return failed(path, tx::kSaveNameTooLong, ErrorKind::BadInput);
    }

    PendingFile pending;
    if (int error = pending.create(folder)) return failed(path, error);
    Status written;
    if (target.releaseCells) {
        written = writeXlsxReleasing(workbook, pending.path(), folder);
    } else {
        workbook.recalculate();
        written = writeXlsx(workbook, pending.path(), folder);
    }
    // The temporary file was created: the folder takes files, so whatever fails now is the writing.
    if (!written) return failed(path, written.error(), ErrorKind::WriteFailed);
    if (int error = pending.sync()) return failed(path, fileErrorReason(error), ErrorKind::WriteFailed);

    if (exact) {
        int error = target.overwrite ? (::rename(pending.path().c_str(), path.c_str()) == 0 ? 0 : errno)
                                     : renameNoReplace(pending.path(), path);
        if (error != 0) return failed(path, error);
    } else {
        const std::string first = path;
        int error = EEXIST;
        for (int n = 1; n <= 9999 && error == EEXIST; ++n) {
            path = n == 1 ? first : joinPath(target.folder, strprintf("%s (%d).xlsx", baseName.c_str(), n));
            error = renameNoReplace(pending.path(), path);
        }
        if (error == EEXIST) return failed(first, tx::kSaveNoFreeName, ErrorKind::FolderRefused);
        if (error != 0) return failed(path, error);
    }
    pending.placed();
    syncFolder(folder);
    return path;
}

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
    return ".";
}

// The value of XDG_DOCUMENTS_DIR in user-dirs.dirs: "$HOME/…" or an absolute path, in double
// quotes, with backslash escapes. "" when the file does not set it.
std::string documentsFromUserDirs(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::string config = configHome != nullptr && configHome[0] == '/' ? configHome : home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    std::string found;
    while (std::getline(in, line)) {
        size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line[i] == '#') continue;
        static const std::string kKey = "XDG_DOCUMENTS_DIR=";
        if (line.compare(i, kKey.size(), kKey) != 0) continue;
        std::string raw = line.substr(i + kKey.size());
        while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t' || raw.back() == '\r'))
            raw.pop_back();
        if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') continue;
        std::string value;
        for (size_t k = 1; k + 1 < raw.size(); ++k) {
            if (raw[k] == '\\' && k + 2 < raw.size()) ++k;
            value += raw[k];
        }
        if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
            found = home + value.substr(5);
        } else if (!value.empty() && value[0] == '/') {
            found = value;
        }
    }
    return found;
}

}  // namespace

std::string fullPathOf(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

std::string documentsFolder() {
    const std::string home = homeFolder();
    std::string documents = documentsFromUserDirs(home);
    if (documents.empty()) {
        const char* fromEnvironment = std::getenv("XDG_DOCUMENTS_DIR");
        if (fromEnvironment != nullptr && fromEnvironment[0] == '/') documents = fromEnvironment;
    }
    while (documents.size() > 1 && documents.back() == '/') documents.pop_back();
    if (!documents.empty() && isDirectory(documents)) return documents;
    if (isDirectory(home + "/Documents")) return home + "/Documents";
    return home;
}

}  // namespace varnex
