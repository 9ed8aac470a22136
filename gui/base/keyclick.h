// The keypad's click: a short PCM WAVE clip held in memory, played in the background.
#pragma once

#include <string>

namespace zv {

// 2 channels, 44100 samples per second, 16 bits, 23264 bytes of sample data.
const std::string& KeyClickWave();
constexpr size_t kKeyClickDataBytes = 23264;

// Plays the clip once without waiting; silent where there is no audio output.
void PlayKeyClick();

} // namespace zv
