#include "ui/music_player.h"

#ifdef VARNEX_HAVE_MUSIC

#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <atomic>
#include <cstring>
#include <libopenmpt/libopenmpt.hpp>
#include <mutex>
#include <sstream>
#include <vector>

namespace varnex::ui {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kBytesPerFrame = 4;  // stereo, 16 bits
constexpr const char* kModuleResource = ":/music/varnex_theme.mod";

// Pulls stereo frames from the module; silent while muted.
class ModuleStream : public QIODevice {
  public:
    explicit ModuleStream(std::unique_ptr<openmpt::module> module) : module_(std::move(module)) {
        module_->set_repeat_count(-1);
    }

    void rewind() {
        std::lock_guard lock(mutex_);
        module_->set_position_order_row(0, 0);
    }
    void setMuted(bool muted) { muted_ = muted; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        qint64 frames = maxSize / kBytesPerFrame;
        if (frames <= 0) return 0;
        if (muted_) {
            std::memset(data, 0, static_cast<size_t>(frames * kBytesPerFrame));
            return frames * kBytesPerFrame;
        }
        std::vector<std::int16_t> buffer(static_cast<size_t>(frames) * 2);
        size_t rendered = 0;
        {
            std::lock_guard lock(mutex_);
            rendered =
                module_->read_interleaved_stereo(kSampleRate, static_cast<size_t>(frames), buffer.data());
        }
        std::memset(data, 0, static_cast<size_t>(frames * kBytesPerFrame));
        std::memcpy(data, buffer.data(), rendered * kBytesPerFrame);
        return frames * kBytesPerFrame;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    std::unique_ptr<openmpt::module> module_;
    std::mutex mutex_;
    std::atomic<bool> muted_{true};
};

// Lives on the music thread: owns the sound output.
class Output : public QObject {
  public:
    explicit Output(ModuleStream* stream) : stream_(stream) {}

    void play() {
        release();
        QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) return;
        QAudioFormat format;
        format.setSampleRate(kSampleRate);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) return;
        sink_ = new QAudioSink(device, format, this);
        if (!stream_->isOpen()) stream_->open(QIODevice::ReadOnly);
        sink_->start(stream_);
    }
    void release() {
        if (sink_ == nullptr) return;
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
    }

  private:
    ModuleStream* stream_;
    QAudioSink* sink_ = nullptr;
};

}  // namespace

struct MusicPlayer::Impl {
    std::unique_ptr<ModuleStream> stream;
    QThread thread;
    Output* output = nullptr;  // deleted on the music thread

    ~Impl() {
        if (output != nullptr) {
            Output* doomed = output;
            QMetaObject::invokeMethod(doomed, [doomed] {
                doomed->release();
                delete doomed;
                QThread::currentThread()->quit();
            });
            thread.wait(3000);
        }
        if (stream) stream->close();
    }
};

MusicPlayer::MusicPlayer() : impl_(std::make_unique<Impl>()) {
    QFile file(QString::fromUtf8(kModuleResource));
    if (!file.open(QIODevice::ReadOnly)) return;
    QByteArray bytes = file.readAll();
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    try {
        std::ostringstream log;
        impl_->stream = std::make_unique<ModuleStream>(std::make_unique<openmpt::module>(data, log));
    } catch (const std::exception&) {
        impl_->stream.reset();
    }
}

MusicPlayer::~MusicPlayer() = default;

bool MusicPlayer::available() const {
    return impl_->stream != nullptr;
}

void MusicPlayer::start() {
    if (!impl_->stream) return;
    if (impl_->output == nullptr) {
        impl_->output = new Output(impl_->stream.get());
        impl_->output->moveToThread(&impl_->thread);
        impl_->stream->moveToThread(&impl_->thread);
        impl_->thread.setObjectName(QStringLiteral("music"));
        impl_->thread.start();
    }
    impl_->stream->rewind();
    impl_->stream->setMuted(false);
    Output* output = impl_->output;
    QMetaObject::invokeMethod(output, [output] { output->play(); });
}

void MusicPlayer::stop() {
    if (!impl_->stream) return;
    impl_->stream->setMuted(true);  // silent from the next buffer on, whatever the thread is doing
    if (Output* output = impl_->output) QMetaObject::invokeMethod(output, [output] { output->release(); });
}

}  // namespace varnex::ui

#else  // built without Qt Multimedia or libopenmpt

namespace varnex::ui {

struct MusicPlayer::Impl {};

MusicPlayer::MusicPlayer() : impl_(std::make_unique<Impl>()) {}
MusicPlayer::~MusicPlayer() = default;
void MusicPlayer::start() {}
void MusicPlayer::stop() {}
bool MusicPlayer::available() const {
    return false;
}

}  // namespace varnex::ui

#endif
