#include "export/split_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

#include "base/text_util.h"
#include "base/utf8.h"
#include "sheets/sheet_plan.h"
#include "sheets/sheet_texts.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"
#include "workbook/xlsx_writer.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

// Bytes of a cleaned name: with " (99)" and ".xlsx" it stays far below the 255 bytes or UTF-16
// units of a file name, leaving room for the folder in a Windows path.
constexpr size_t kMaxNameBytes = 100;

std::string lowerAscii(std::string s) {
    for (char& ch : s) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return s;
}

// True for the device names Windows keeps whatever the extension: CON, PRN, AUX, NUL, COM0-9, LPT0-9.
bool reservedOnWindows(std::string_view stem) {
    const std::string lower = lowerAscii(std::string(stem));
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul") return true;
    return lower.size() == 4 && (lower.starts_with("com") || lower.starts_with("lpt")) && lower[3] >= '0' &&
           lower[3] <= '9';
}

// The text cut at a character edge to at most `bytes` bytes.
std::string cutToBytes(const std::string& utf8, size_t bytes) {
    size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Char ch = nextUtf8Char(utf8, i);
        if (i + ch.length > bytes) break;
        i += ch.length;
    }
    return utf8.substr(0, i);
}

// Removes the files written and the folder, unless the split was completed.
class SplitFolderGuard {
  public:
    explicit SplitFolderGuard(std::string folder) : folder_(std::move(folder)) {}
    SplitFolderGuard(const SplitFolderGuard&) = delete;
    SplitFolderGuard& operator=(const SplitFolderGuard&) = delete;
    ~SplitFolderGuard() {
        if (kept_) return;
        for (const std::string& file : files_) ::unlink(file.c_str());
        ::rmdir(folder_.c_str());
    }
    void written(std::string file) { files_.push_back(std::move(file)); }
    void keep() { kept_ = true; }

  private:
    std::string folder_;
    std::vector<std::string> files_;
    bool kept_ = false;
};

// One part of the exam: the scope of its workbook and the name it is known by.
struct SplitPart {
    SheetScope scope;
    std::string name;
};

std::vector<SplitPart> partsOf(const Exam& exam, SplitFiles split) {
    std::vector<SplitPart> parts;
    const ImportResults& imported = exam.imported();
    if (split == SplitFiles::BySchool) {
        std::set<std::string> seen;
        for (const std::string& school : imported.schoolList) {
            if (seen.insert(school).second) parts.push_back({SheetScope::ofSchool(school), school});
        }
    } else if (split == SplitFiles::ByClass) {
        for (size_t i = 0; i < imported.classList.size(); ++i) {
            auto [school, klass] = imported.classList.parts(i);
            std::string name = strprintf(tx::kSplitClassFileFormat, school.c_str(), klass.c_str());
            parts.push_back({SheetScope::ofClass(std::move(school), std::move(klass)), std::move(name)});
        }
    }
    return parts;
}

// Fills a new workbook with the part's planned sheets, each laid out as in the whole workbook.
Status fillPartWorkbook(ExcelSession& session, const SheetPlan& plan, SheetWork& work) {
    const int n = plan.sheetCount();
    session.AddWorkbook(OmittedArgument);
    if (n >= 4) session.AddSheets(n - 3);
    for (const PlannedSheet& planned : plan.sheets) {
        ExcelSheet sheet = session.Sheet(planned.position);
        sheet.Activate();
        sheet.SetName(planned.tabName);
        if (Status written = writePlannedSheet(sheet, planned, plan, work); !written) return written;
        layOutPlannedSheet(sheet, planned, work.exam());
        sheet.SetVisible(1);
    }
    return {};
}

}  // namespace

std::string portableFileName(std::string_view name) {
    std::string clean(name);
    for (char& ch : clean) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F || std::strchr("<>:\"/\\|?*", ch) != nullptr) ch = '_';
    }
    clean.erase(0, clean.find_first_not_of(' '));
    clean = cutToBytes(clean, kMaxNameBytes);
    while (!clean.empty() && (clean.back() == '.' || clean.back() == ' ')) clean.pop_back();
    if (clean.empty()) return "_";
    const size_t stem = std::min(clean.find('.'), clean.size());
    if (!reservedOnWindows(std::string_view(clean).substr(0, stem))) return clean;
    std::string kept = clean.substr(0, stem);
    kept += '_';
    kept.append(clean, stem);
    return kept;
}

std::vector<std::string> portableFileNames(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    std::set<std::string> taken;
    for (const std::string& name : names) {
        const std::string clean = portableFileName(name);
        std::string candidate = clean;
        for (int k = 2; !taken.insert(lowerAscii(candidate)).second; ++k)
            candidate = strprintf("%s (%d)", clean.c_str(), k);
        files.push_back(std::move(candidate));
    }
    return files;
}

Result<std::string> makeSplitFolder(const std::string& savedPath) {
    std::string base = savedPath;
    if (base.size() > 5 && lowerAscii(base.substr(base.size() - 5)) == ".xlsx") base.resize(base.size() - 5);
    std::string folder = base;
    for (int k = 2; ::mkdir(folder.c_str(), 0777) != 0; ++k) {
        const int error = errno;
        if (error != EEXIST || k > 9999) {
            const ErrorKind kind = error == EEXIST || error == EACCES || error == EPERM || error == EROFS
                                       ? ErrorKind::FolderRefused
                                       : ErrorKind::WriteFailed;
            return fail(kind, strprintf(tx::kSplitFolderFailedFormat, folder.c_str(),
                                        fileErrorReason(error).c_str()));
        }
        folder = strprintf("%s (%d)", base.c_str(), k);
    }
    return folder;
}

Result<SplitOutcome> writeSplitFiles(const SheetWork& work, SplitFiles split, const std::string& savedPath,
                                     const std::function<void(const std::string&, int, int)>& progress) {
    const std::vector<SplitPart> parts = partsOf(work.exam(), split);
    std::vector<std::string> names;
    for (const SplitPart& part : parts) names.push_back(part.name);
    const std::vector<std::string> files = portableFileNames(names);

    Result<std::string> folder = makeSplitFolder(savedPath);
    if (!folder) return folder.failure();
    SplitFolderGuard guard(*folder);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (progress) progress(files[i], static_cast<int>(i), static_cast<int>(parts.size()));
        SheetWork partWork = work.scopedTo(parts[i].scope);
        const SheetPlan plan = buildSheetPlan(work.exam(), parts[i].scope);
        ExcelSession session;
        if (Status filled = fillPartWorkbook(session, plan, partWork); !filled) return filled.failure();
        SaveTarget target{.exactPath = *folder + "/" + files[i] + ".xlsx", .releaseCells = true};
        Result<std::string> saved = saveWorkbook(session.workbook(), target);
        if (!saved) return saved.failure();
        guard.written(*saved);
    }
    guard.keep();
    return SplitOutcome{*folder, static_cast<int>(parts.size())};
}

}  // namespace varnex
