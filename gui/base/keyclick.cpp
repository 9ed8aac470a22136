#include "gui/base/keyclick.h"

#include "store/settings.h"

#include <cmath>
#include <cstdint>
#include <dlfcn.h>

namespace zv {

namespace {

void PutLE(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string MakeWave() {
    const int channels = 2, rate = 44100, bits = 16;
    const size_t frames = kKeyClickDataBytes / (channels * bits / 8);
    std::string data;
    data.reserve(kKeyClickDataBytes);
    for (size_t i = 0; i < frames; ++i) {
        // A soft tick: a short 1.8 kHz burst under a fast exponential decay.
        const double t = static_cast<double>(i) / rate;
        const double envelope = std::exp(-t * 90.0) * (i < 40 ? i / 40.0 : 1.0);
        const double v = 0.22 * envelope * (std::sin(2 * M_PI * 1800 * t) + 0.4 * std::sin(2 * M_PI * 3100 * t));
        const auto sample = static_cast<int16_t>(std::lround(v * 32767));
        for (int c = 0; c < channels; ++c) PutLE(data, static_cast<uint16_t>(sample), 2);
    }
    std::string wav = "RIFF";
    PutLE(wav, static_cast<uint32_t>(36 + data.size()), 4);
    wav += "WAVEfmt ";
    PutLE(wav, 16, 4);
    PutLE(wav, 1, 2); // PCM
    PutLE(wav, channels, 2);
    PutLE(wav, rate, 4);
    PutLE(wav, rate * channels * bits / 8, 4);
    PutLE(wav, channels * bits / 8, 2);
    PutLE(wav, bits, 2);
    wav += "data";
    PutLE(wav, static_cast<uint32_t>(data.size()), 4);
    return wav + data;
}

} // namespace

const std::string& KeyClickWave() {
    static const std::string wave = MakeWave();
    return wave;
}

void PlayKeyClick() {
    // The audio stack is loaded with the first click, not at start-up: it costs time and
    // memory that a customer who never uses the keypad should not pay.
    using Play = void (*)(const char*, unsigned long);
    static Play play = [] {
        void* lib = dlopen((Proc().libraryDir + "/" + names::kSoundModule).c_str(), RTLD_NOW | RTLD_LOCAL);
        return lib ? reinterpret_cast<Play>(dlsym(lib, "zv_play_wave")) : nullptr;
    }();
    if (play) play(KeyClickWave().data(), KeyClickWave().size());
}

} // namespace zv
