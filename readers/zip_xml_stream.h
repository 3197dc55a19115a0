#pragma once
// Plumbing of the .xlsx reader: a ZIP package opened with libzip, its parts read in chunks
// with a cap on the uncompressed size, and an expat parser fed from a part (or any other source
// of XML) that can stop after any element and go on later (so a worksheet is read one row at a
// time).

#include <expat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"
#include "readers/workbook_reader.h"

struct zip;
struct zip_file;

namespace varnex {

/// A ZIP package, read-only. Keeps the memory it was opened from alive only by reference.
class ZipPackage {
  public:
    /// Opens a file; on failure the message is a reason, without the file name.
    static Result<std::unique_ptr<ZipPackage>> openFile(const std::string& path);
    /// Opens bytes in memory, which must outlive the package.
    static Result<std::unique_ptr<ZipPackage>> openMemory(const void* data, size_t size);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    /// The index of a part ("xl/workbook.xml", no leading "/"), matched exactly and then
    /// ignoring case; -1 when missing.
    int64_t find(std::string_view name) const;
    struct zip* handle() const {
        return zip_;
    }

  private:
    explicit ZipPackage(struct zip* z) : zip_(z) {}
    struct zip* zip_;
};

/// Where an XmlPartParser gets its bytes: a part of a package, or a whole file.
class XmlSource {
  public:
    virtual ~XmlSource() = default;
    /// Reads up to `size` bytes: how many were read (0 at the end); fails beyond the cap.
    virtual Result<size_t> read(void* buffer, size_t size) = 0;
    /// The reason given for XML that breaks off at `line` with expat's `what`.
    virtual std::string badXmlReason(unsigned long line, const char* what) const = 0;
    /// True when the last read gave 0 bytes because the source holds the rest back (the part goes
    /// on): the parser then stops without taking it for the end.
    virtual bool held() const { return false; }
};

/// One part of a package read in chunks, refusing to go beyond `maxBytes` uncompressed.
class ZipPartReader : public XmlSource {
  public:
    ZipPartReader(const ZipPackage& package, int64_t index, std::string name, uint64_t maxBytes);
    ~ZipPartReader() override;
    ZipPartReader(const ZipPartReader&) = delete;
    ZipPartReader& operator=(const ZipPartReader&) = delete;

    Result<size_t> read(void* buffer, size_t size) override;
    std::string badXmlReason(unsigned long line, const char* what) const override;
    const std::string& name() const { return name_; }

  private:
    struct zip_file* file_ = nullptr;
    std::string name_;
    uint64_t maxBytes_;
    uint64_t total_ = 0;
    std::string openError_;
};

/// An expat parser over one source, with namespaces resolved to local names, a nesting cap and
/// documents with a DTD refused. Subclasses receive elements by local name.
class XmlPartParser {
  public:
    explicit XmlPartParser(XmlSource& source);
    virtual ~XmlPartParser();
    XmlPartParser(const XmlPartParser&) = delete;
    XmlPartParser& operator=(const XmlPartParser&) = delete;

    enum class Step { Paused, Finished, Held };
    /// Parses until a handler calls pause(), the source ends or holds the rest back (Held), or an
    /// error stops it (the reason).
    Result<Step> parse();
    /// Parses the whole source.
    Status parseAll();

  protected:
    virtual void onStart(std::string_view local, const XML_Char** attributes) = 0;
    virtual void onEnd(std::string_view local) = 0;
    virtual void onText(std::string_view) {}
    /// Stops after the current element so that parse() returns Paused.
    void pause();
    /// Stops for good: parse() fails with this reason.
    void stopWith(std::string reason);
    /// Stops for good: parse() returns Finished (the rest of the source is not needed).
    void finishEarly();
    /// The local part of an expanded name ("uri|local" or "local").
    static std::string_view localName(const XML_Char* name);
    /// True when the expanded name carries a namespace.
    static bool hasNamespace(const XML_Char* name);
    /// The namespace of an expanded name ("" when it has none).
    static std::string_view namespaceOf(const XML_Char* name);
    /// The value of the attribute with this local name and no namespace; null when absent.
    static const XML_Char* attribute(const XML_Char** attributes, std::string_view local);
    /// Inside a handler: the byte offset in the source just after the markup being reported.
    uint64_t eventEnd() const;

  private:
    static void XMLCALL startThunk(void* self, const XML_Char* name, const XML_Char** attributes);
    static void XMLCALL endThunk(void* self, const XML_Char* name);
    static void XMLCALL textThunk(void* self, const XML_Char* text, int length);
    static void XMLCALL doctypeThunk(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int);

    XML_Parser parser_;
    XmlSource& source_;
    int depth_ = 0;
    bool suspended_ = false;
    bool finalFed_ = false;
    bool finished_ = false;
    bool stoppedEarly_ = false;
    std::string failure_;
};

/// A worksheet read from XML one row at a time: the subclass's handlers fill row() and call
/// rowDone() at the end of each row that holds a value, which pauses the parser there.
class XmlRowStream : public SheetRowStream, protected XmlPartParser {
  public:
    /// The next row that holds a value, false at the end of the sheet; a failure names the sheet.
    Result<bool> next(SheetRow& row) override;

  protected:
    XmlRowStream(XmlSource& source, std::string sheetName)
        : XmlPartParser(source), sheetName_(std::move(sheetName)) {}
    /// The row being read.
    SheetRow& row() { return *row_; }
    /// Ends the row being read as sheet row `number`.
    void rowDone(uint32_t number);
    /// The source held the rest back: true when the subclass gives the remaining rows itself
    /// (next() then reports the end of what this parser read), false when it let the source go on.
    virtual bool takeOverAtHold() { return false; }
    const std::string& sheetName() const { return sheetName_; }

  private:
    std::string sheetName_;
    SheetRow* row_ = nullptr;
    bool rowReady_ = false;
    bool done_ = false;
};

}  // namespace varnex
