#include "gain/loudnessmeter.h"

#include <ebur128.h>

#include <optional>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace gain {

namespace {

// The true peak as libebur128 finds it (the same 49-tap Hann-windowed sinc interpolator, four
// times oversampling below 96 kHz, twice below 192 kHz, none above), at less than half its cost:
// the phases are computed side by side over a straight buffer, which the compiler vectorises,
// rather than tap by tap through a ring. Its cost is most of that of a measure, which rips pay.
class TruePeak
{
public:
    TruePeak(int rate, int channels)
        : m_factor(rate < 96000    ? 4
                   : rate < 192000 ? 2
                                   : 1),
          m_delay(size_t((taps + m_factor - 1) / m_factor)), m_channels(channels), m_coeff(m_delay),
          m_buffer(size_t(channels))
    {
        for (int j = 0; j < taps; ++j) {
            const double m = j - (taps - 1) / 2.0;
            const double x = m * std::numbers::pi / m_factor;
            double c = std::abs(m) > 1e-6 ? std::sin(x) / x : 1.0;
            c *= 0.5 * (1 - std::cos(2 * std::numbers::pi * j / (taps - 1)));
            // Tap j of the filter weighs the sample j / factor frames old in phase j % factor.
            m_coeff[m_delay - 1 - size_t(j / m_factor)][size_t(j % m_factor)] = float(c);
        }
        for (std::vector<float> &samples : m_buffer)
            samples.assign(m_delay - 1, 0.0f);
    }

    // Interleaved samples in [-1, 1].
    void add(const float *interleaved, size_t frames)
    {
        for (size_t channel = 0; channel < size_t(m_channels); ++channel) {
            std::vector<float> &x = m_buffer[channel];
            x.resize(m_delay - 1 + frames);
            for (size_t i = 0; i < frames; ++i)
                x[m_delay - 1 + i] = interleaved[i * size_t(m_channels) + channel];
            float peak = m_peak;
            for (size_t i = 0; i < frames; ++i) {
                std::array<float, 4> out{};
                for (size_t k = 0; k < m_delay; ++k)
                    for (size_t f = 0; f < 4; ++f)
                        out[f] += m_coeff[k][f] * x[i + k];
                for (const float v : out)
                    peak = std::max(peak, std::abs(v));
            }
            m_peak = peak;
            x.erase(x.begin(), x.end() - std::ptrdiff_t(m_delay - 1));
        }
    }

    double peak() const { return m_peak; }

private:
    static constexpr int taps = 49;
    int m_factor;
    size_t m_delay; // frames the taps reach, the current one included
    int m_channels;
    // By age, oldest first, then by phase; the phases a factor below four lacks stay zero.
    std::vector<std::array<float, 4>> m_coeff;
    std::vector<std::vector<float>> m_buffer; // per channel: the history, then the samples added
    float m_peak = 0;
};

} // namespace

struct LoudnessMeter::State
{
    ebur128_state *st = nullptr;
    std::optional<TruePeak> truePeak;
    std::vector<float> scaled; // 16-bit samples brought to [-1, 1]
    ~State() { ebur128_destroy(&st); }
};

LoudnessMeter::LoudnessMeter(int rate, int channels)
{
    if (rate < 8000 || rate > 192000 || (channels != 1 && channels != 2))
        return;
    auto state = std::make_unique<State>();
    state->st = ebur128_init(unsigned(channels), static_cast<unsigned long>(rate),
                             EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK);
    if (!state->st)
        return;
    state->truePeak.emplace(rate, channels);
    m_state = std::move(state);
    m_channels = channels;
}

LoudnessMeter::~LoudnessMeter() = default;
LoudnessMeter::LoudnessMeter(LoudnessMeter &&other) noexcept = default;
LoudnessMeter &LoudnessMeter::operator=(LoudnessMeter &&other) noexcept = default;

// Samples are taken a few thousand frames at a time, so that a whole track given at once needs
// no copy of its size.
constexpr size_t chunkFrames = 4096;

void LoudnessMeter::add(std::span<const float> interleaved)
{
    if (!m_state)
        return;
    const size_t channels = size_t(m_channels);
    for (size_t start = 0; start + channels <= interleaved.size();
         start += chunkFrames * channels) {
        const size_t frames = std::min(chunkFrames, (interleaved.size() - start) / channels);
        ebur128_add_frames_float(m_state->st, interleaved.data() + start, frames);
        m_state->truePeak->add(interleaved.data() + start, frames);
    }
}

void LoudnessMeter::add(std::span<const qint16> interleaved)
{
    if (!m_state)
        return;
    const size_t channels = size_t(m_channels);
    std::vector<float> &scaled = m_state->scaled;
    for (size_t start = 0; start + channels <= interleaved.size();
         start += chunkFrames * channels) {
        const size_t frames = std::min(chunkFrames, (interleaved.size() - start) / channels);
        ebur128_add_frames_short(m_state->st, interleaved.data() + start, frames);
        scaled.resize(frames * channels);
        for (size_t i = 0; i < scaled.size(); ++i)
            scaled[i] = float(interleaved[start + i] / 32768.0);
        m_state->truePeak->add(scaled.data(), frames);
    }
}

namespace {

void addPeaks(ebur128_state *st, unsigned channels, Loudness &loudness)
{
    for (unsigned c = 0; c < channels; ++c) {
        double peak = 0;
        if (ebur128_sample_peak(st, c, &peak) == EBUR128_SUCCESS)
            loudness.samplePeak = std::max(loudness.samplePeak, peak);
    }
    // A true peak is never below the sample peak.
    loudness.truePeak = std::max(loudness.truePeak, loudness.samplePeak);
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
        loudness.truePeak = std::max(loudness.truePeak, meter->m_state->truePeak->peak());
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
