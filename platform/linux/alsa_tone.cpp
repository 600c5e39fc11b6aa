#include "platform/linux/alsa_tone.h"

#include "platform/linux/tone_render.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <thread>
#include <utility>

namespace {

constexpr unsigned kBufferLatencyUs = 50000;

// A machine without a sound card is normal here: ALSA's complaints about it are not news.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA keeps its parsed configuration for the life of the process; hand it back at exit so
// leak checkers see a clean end.
struct AlsaConfigRelease {
    ~AlsaConfigRelease() { snd_config_update_free_global(); }
} alsaConfigRelease;

} // namespace

AlsaPcmSink::AlsaPcmSink(std::string device) : device_(std::move(device)) {
    snd_lib_error_set_handler(ignoreAlsaError);
}

AlsaPcmSink::~AlsaPcmSink() { close(); }

bool AlsaPcmSink::play(const std::vector<int16_t>& samples, unsigned rate) {
    if (!open(rate)) {
        return false;
    }
    const int16_t* next = samples.data();
    auto left = static_cast<snd_pcm_uframes_t>(samples.size());
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm_, next, left);
        if (written < 0) {
            // An underrun or a suspend can be got over; anything else ends this tone.
            written = snd_pcm_recover(pcm_, static_cast<int>(written), 1);
        }
        if (written < 0) {
            close();
            return false;
        }
        next += written;
        left -= static_cast<snd_pcm_uframes_t>(written);
    }
    if (snd_pcm_drain(pcm_) < 0) {
        close();
        return false;
    }
    return true;
}

bool AlsaPcmSink::open(unsigned rate) {
    if (pcm_ != nullptr && rate_ != rate) {
        close();
    }
    if (pcm_ == nullptr) {
        // Opened non-blocking: a blocking open waits for as long as another program holds
        // the device, and the beep must not hang the window.
        if (snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
            pcm_ = nullptr;
            return false;
        }
        if (snd_pcm_nonblock(pcm_, 0) < 0 ||
            snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, rate, 1,
                               kBufferLatencyUs) < 0) {
            close();
            return false;
        }
        rate_ = rate;
    }
    // A drained device stands in its set-up state until prepared again.
    if (snd_pcm_prepare(pcm_) < 0) {
        close();
        return false;
    }
    return true;
}

void AlsaPcmSink::close() {
    if (pcm_ != nullptr) {
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
}

AlsaTonePlayer::AlsaTonePlayer(std::unique_ptr<PcmSink> sink) : sink_(std::move(sink)) {}

void AlsaTonePlayer::Beep(uint32_t frequencyHz, uint32_t durationMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(durationMs);
    if (!sink_->play(renderTone(frequencyHz, durationMs, toneSampleRate), toneSampleRate)) {
        std::this_thread::sleep_until(end);
    }
}
