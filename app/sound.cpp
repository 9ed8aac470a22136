// The audio module of the key click, loaded at the first click: plays a PCM WAVE clip held
// in memory once, in the background. Silent where there is no audio output.
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <cstring>

extern "C" __attribute__((visibility("default"))) void zv_play_wave(const char* wave, unsigned long size) {
    if (size <= 44 || std::memcmp(wave, "RIFF", 4) != 0) return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return;
    auto* sink = new QAudioSink(device, format);
    auto* buffer = new QBuffer(sink);
    buffer->setData(wave + 44, static_cast<qsizetype>(size - 44));
    buffer->open(QIODevice::ReadOnly);
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State s) {
        if (s == QAudio::IdleState || s == QAudio::StoppedState) sink->deleteLater();
    });
    sink->start(buffer);
}
