#pragma once

#include "platform/tone_player.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

typedef struct _snd_pcm snd_pcm_t;

// Where rendered samples go: the sound device, or a recorder in tests.
class PcmSink {
public:
    virtual ~PcmSink() = default;
    // Plays mono 16-bit samples and returns once they have been heard; false when the
    // device could not play them.
    virtual bool play(const std::vector<int16_t>& samples, unsigned rate) = 0;
};

// The ALSA playback device. It is opened on first use and kept open, so consecutive tones
// follow each other without the cost of reopening; after a failure it is reopened next time.
class AlsaPcmSink : public PcmSink {
public:
    explicit AlsaPcmSink(std::string device = "default");
    ~AlsaPcmSink() override;
    AlsaPcmSink(const AlsaPcmSink&) = delete;
    AlsaPcmSink& operator=(const AlsaPcmSink&) = delete;

    bool play(const std::vector<int16_t>& samples, unsigned rate) override;

private:
    bool open(unsigned rate);
    void close();

    std::string device_;
    snd_pcm_t* pcm_ = nullptr;
    unsigned rate_ = 0;
};

// Beep: a sine through the sink, blocking until played. When the sink fails the tone's time
// passes in silence, so a beep always lasts its duration.
class AlsaTonePlayer : public TonePlayer {
public:
    explicit AlsaTonePlayer(std::unique_ptr<PcmSink> sink = std::make_unique<AlsaPcmSink>());

    void Beep(uint32_t frequencyHz, uint32_t durationMs) override;

private:
    std::unique_ptr<PcmSink> sink_;
};
