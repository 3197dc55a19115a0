#include "readers/zip_xml_stream.h"

#include <zip.h>

#include <memory>

#include "base/text_conversion.h"
#include "base/text_util.h"
#include "readers/reader_limits.h"
#include "readers/reader_messages.h"

namespace varnex {

namespace tx = reader_texts;

namespace {
constexpr char kNamespaceSeparator = '|';
constexpr int kChunkBytes = 64 * 1024;

std::string zipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

/// Decodes the two-byte sequences of GBK (which GB2312 is part of) for expat.
int XMLCALL convertGbk(void* data, const char* bytes) {
    std::string out;
    if (!static_cast<TextConverter*>(data)->append(std::string_view(bytes, 2), out) || out.size() != 4)
        return -1;
    const auto byte = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(out[k])); };
    return static_cast<int>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
}

void XMLCALL releaseGbk(void* data) {
    delete static_cast<TextConverter*>(data);
}

/// Lets expat read documents declared in GBK, GB2312 or GB18030, as marking systems write them.
/// Expat takes a character's length from its first byte, so GB18030's four-byte sequences (only
/// rare characters need them) end in expat's message about an invalid token.
int XMLCALL unknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
    std::string label = asciiLower(name);
    if (label != "gbk" && label != "gb2312" && label != "gb18030" && label != "cp936")
        return XML_STATUS_ERROR;
    auto converter = std::make_unique<TextConverter>("UTF-32LE", "GBK");
    if (!converter->ok()) return XML_STATUS_ERROR;
    for (int b = 0; b < 256; ++b) info->map[b] = b < 0x80 ? b : b == 0x80 || b == 0xFF ? -1 : -2;
    info->data = converter.release();
    info->convert = &convertGbk;
    info->release = &releaseGbk;
    return XML_STATUS_OK;
}
}  // namespace

Result<std::unique_ptr<ZipPackage>> ZipPackage::openFile(const std::string& path) {
    int code = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (z == nullptr) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        return fail(zipErrorText(&ze));
    }
    return std::unique_ptr<ZipPackage>(new ZipPackage(z));
}

Result<std::unique_ptr<ZipPackage>> ZipPackage::openMemory(const void* data, size_t size) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &ze);
    if (source == nullptr) return fail(zipErrorText(&ze));
    zip_t* z = zip_open_from_source(source, ZIP_RDONLY, &ze);
    if (z == nullptr) {
        zip_source_free(source);
        return fail(zipErrorText(&ze));
    }
    zip_error_fini(&ze);
    return std::unique_ptr<ZipPackage>(new ZipPackage(z));
}

ZipPackage::~ZipPackage() {
    zip_discard(zip_);
}

int64_t ZipPackage::find(std::string_view name) const {
    std::string key(name);
    zip_int64_t index = zip_name_locate(zip_, key.c_str(), 0);
    if (index < 0) index = zip_name_locate(zip_, key.c_str(), ZIP_FL_NOCASE);
    return index;
}

ZipPartReader::ZipPartReader(const ZipPackage& package, int64_t index, std::string name, uint64_t maxBytes)
    : name_(std::move(name)), maxBytes_(maxBytes) {
    file_ = zip_fopen_index(package.handle(), static_cast<zip_uint64_t>(index), 0);
    if (file_ == nullptr) openError_ = strprintf(tx::kPartUnreadable, name_.c_str());
}

ZipPartReader::~ZipPartReader() {
    if (file_ != nullptr) zip_fclose(file_);
}

Result<size_t> ZipPartReader::read(void* buffer, size_t size) {
    if (file_ == nullptr) return fail(openError_);
    zip_int64_t got = zip_fread(file_, buffer, size);
    if (got < 0) return fail(strprintf(tx::kPartUnreadable, name_.c_str()));
    total_ += static_cast<uint64_t>(got);
    if (total_ > maxBytes_) return fail(strprintf(tx::kPartTooLarge, name_.c_str()));
    return static_cast<size_t>(got);
}

std::string ZipPartReader::badXmlReason(unsigned long line, const char* what) const {
    return strprintf(tx::kBadXml, name_.c_str(), line, what);
}

XmlPartParser::XmlPartParser(XmlSource& source) : source_(source) {
    parser_ = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &XmlPartParser::startThunk, &XmlPartParser::endThunk);
    XML_SetCharacterDataHandler(parser_, &XmlPartParser::textThunk);
    XML_SetStartDoctypeDeclHandler(parser_, &XmlPartParser::doctypeThunk);
    XML_SetUnknownEncodingHandler(parser_, &unknownEncoding, nullptr);
}

XmlPartParser::~XmlPartParser() {
    XML_ParserFree(parser_);
}

void XmlPartParser::pause() {
    if (failure_.empty() && !stoppedEarly_) XML_StopParser(parser_, XML_TRUE);
}

void XmlPartParser::stopWith(std::string reason) {
    if (!failure_.empty() || stoppedEarly_) return;
    failure_ = std::move(reason);
    XML_StopParser(parser_, XML_FALSE);
}

void XmlPartParser::finishEarly() {
    if (!failure_.empty() || stoppedEarly_) return;
    stoppedEarly_ = true;
    XML_StopParser(parser_, XML_FALSE);
}

std::string_view XmlPartParser::localName(const XML_Char* name) {
    std::string_view full(name);
    size_t bar = full.rfind(kNamespaceSeparator);
    return bar == std::string_view::npos ? full : full.substr(bar + 1);
}

bool XmlPartParser::hasNamespace(const XML_Char* name) {
    return std::string_view(name).find(kNamespaceSeparator) != std::string_view::npos;
}

std::string_view XmlPartParser::namespaceOf(const XML_Char* name) {
    std::string_view full(name);
    size_t bar = full.rfind(kNamespaceSeparator);
    return bar == std::string_view::npos ? std::string_view() : full.substr(0, bar);
}

const XML_Char* XmlPartParser::attribute(const XML_Char** attributes, std::string_view local) {
    for (size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (local == attributes[i]) return attributes[i + 1];
    }
    return nullptr;
}

void XMLCALL XmlPartParser::startThunk(void* self, const XML_Char* name, const XML_Char** attributes) {
    auto* p = static_cast<XmlPartParser*>(self);
    if (++p->depth_ > limits::kMaxXmlDepth) {
        p->stopWith(tx::kXmlTooDeep);
        return;
    }
    p->onStart(localName(name), attributes);
}

void XMLCALL XmlPartParser::endThunk(void* self, const XML_Char* name) {
    auto* p = static_cast<XmlPartParser*>(self);
    --p->depth_;
    p->onEnd(localName(name));
}

void XMLCALL XmlPartParser::textThunk(void* self, const XML_Char* text, int length) {
    static_cast<XmlPartParser*>(self)->onText(std::string_view(text, static_cast<size_t>(length)));
}

void XMLCALL XmlPartParser::doctypeThunk(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<XmlPartParser*>(self)->stopWith(tx::kXmlHasDtd);
}

Result<XmlPartParser::Step> XmlPartParser::parse() {
    for (;;) {
        if (finished_) return Step::Finished;
        if (!failure_.empty()) return fail(failure_);
        XML_Status status;
        if (suspended_) {
            suspended_ = false;
            status = XML_ResumeParser(parser_);
        } else {
            void* buffer = XML_GetBuffer(parser_, kChunkBytes);
            if (buffer == nullptr) {
                failure_ = source_.badXmlReason(0, "out of memory");
                return fail(failure_);
            }
            Result<size_t> got = source_.read(buffer, kChunkBytes);
            if (!got) {
                failure_ = got.error();
                return fail(failure_);
            }
            if (*got == 0 && source_.held()) return Step::Held;
            finalFed_ = *got == 0;
            status = XML_ParseBuffer(parser_, static_cast<int>(*got), finalFed_ ? XML_TRUE : XML_FALSE);
        }
        if (status == XML_STATUS_SUSPENDED) {
            suspended_ = true;
            return Step::Paused;
        }
        if (status == XML_STATUS_ERROR) {
            if (stoppedEarly_) {
                finished_ = true;
                return Step::Finished;
            }
            if (failure_.empty()) {
                failure_ = source_.badXmlReason(static_cast<unsigned long>(XML_GetCurrentLineNumber(parser_)),
                                                XML_ErrorString(XML_GetErrorCode(parser_)));
            }
            return fail(failure_);
        }
        if (finalFed_) finished_ = true;
    }
}

Status XmlPartParser::parseAll() {
    for (;;) {
        Result<Step> step = parse();
        if (!step) return fail(step.error());
        if (*step == Step::Finished) return {};
    }
}

uint64_t XmlPartParser::eventEnd() const {
    return static_cast<uint64_t>(XML_GetCurrentByteIndex(parser_) + XML_GetCurrentByteCount(parser_));
}

void XmlRowStream::rowDone(uint32_t number) {
    row_->number = number;
    rowReady_ = true;
    pause();
}

Result<bool> XmlRowStream::next(SheetRow& row) {
    if (done_) return false;
    row_ = &row;
    clearRow(row);
    rowReady_ = false;
    for (;;) {
        Result<Step> step = parse();
        if (!step) {
            done_ = true;
            return fail(strprintf(tx::kSheetCorrupt, sheetName_.c_str(), step.error().c_str()));
        }
        if (rowReady_) return true;
        if (*step == Step::Held && takeOverAtHold()) {
            done_ = true;
            return false;
        }
        if (*step == Step::Finished) {
            done_ = true;
            return false;
        }
    }
}

}  // namespace varnex
