#include "gain/loudnessmeter.h"

#include <ebur128.h>

#include <algorithm>
#include <vector>

namespace gain {

struct LoudnessMeter::State
{
    ebur128_state *st = nullptr;
    ~State() { ebur128_destroy(&st); }
};

LoudnessMeter::LoudnessMeter(int rate, int channels)
{
    if (rate < 8000 || rate > 192000 || (channels != 1 && channels != 2))
        return;
    auto state = std::make_unique<State>();
    state->st = ebur128_init(unsigned(channels), static_cast<unsigned long>(rate),
                             EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_TRUE_PEAK);
    if (!state->st)
        return;
    m_state = std::move(state);
    m_channels = channels;
}

LoudnessMeter::~LoudnessMeter() = default;
LoudnessMeter::LoudnessMeter(LoudnessMeter &&other) noexcept = default;
LoudnessMeter &LoudnessMeter::operator=(LoudnessMeter &&other) noexcept = default;

void LoudnessMeter::add(std::span<const float> interleaved)
{
    if (m_state)
        ebur128_add_frames_float(m_state->st, interleaved.data(),
                                 interleaved.size() / size_t(m_channels));
}

void LoudnessMeter::add(std::span<const qint16> interleaved)
{
    if (m_state)
        ebur128_add_frames_short(m_state->st, interleaved.data(),
                                 interleaved.size() / size_t(m_channels));
}

namespace {

void addPeaks(ebur128_state *st, unsigned channels, Loudness &loudness)
{
    for (unsigned c = 0; c < channels; ++c) {
        double peak = 0;
        if (ebur128_sample_peak(st, c, &peak) == EBUR128_SUCCESS)
            loudness.samplePeak = std::max(loudness.samplePeak, peak);
        if (ebur128_true_peak(st, c, &peak) == EBUR128_SUCCESS)
            loudness.truePeak = std::max(loudness.truePeak, peak);
    }
}

} // namespace

Loudness LoudnessMeter::result() const
{
    const LoudnessMeter *self = this;
    return together(std::span(&self, 1));
}

Loudness LoudnessMeter::together(std::span<const LoudnessMeter *const> meters)
{
    Loudness loudness;
    std::vector<ebur128_state *> states;
    for (const LoudnessMeter *meter : meters) {
        if (!meter || !meter->m_state)
            continue;
        states.push_back(meter->m_state->st);
        addPeaks(meter->m_state->st, unsigned(meter->m_channels), loudness);
    }
    double lufs = 0;
    // Silence gives -HUGE_VAL, which stays the "not measured" value.
    if (!states.empty() &&
        ebur128_loudness_global_multiple(states.data(), states.size(), &lufs) == EBUR128_SUCCESS)
        loudness.lufs = lufs;
    return loudness;
}

} // namespace gain
