#include "gain/loudnessmeter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace gain {

namespace {

// The measure follows ITU-R BS.1770 as libebur128 implements it (its filter coefficients, block
// timing and gates; the tests hold the two together), at a fraction of its cost: a rip measures
// every sample it reads while the encoders keep every core busy, so each cycle here shows in the
// rip's time.

// Functions that do most of the work are built twice, for any x86-64 processor and for those
// with AVX2 and FMA (nearly all since 2013); the loader picks the one the processor runs. The
// sanitizer build keeps one.
#if defined(__SANITIZE_ADDRESS__)
#define TARVEX_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVEX_SANITIZED
#endif
#endif
#if defined(__x86_64__) && !defined(TARVEX_SANITIZED)
#define TARVEX_HOT_LOOP __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define TARVEX_HOT_LOOP
#endif

// Two or eight values side by side; the compiler maps them onto the registers the function is
// built for.
using Doubles2 = double __attribute__((vector_size(16)));
using Floats8 = float __attribute__((vector_size(32)));

// One biquad in direct form I.
struct Biquad
{
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};

// K-weighting: the head's high shelf, then the high pass, for the given rate.
std::array<Biquad, 2> kWeighting(int rate)
{
    const double shelfF0 = 1681.974450955533, gainDb = 3.999843853973347,
                 shelfQ = 0.7071752369554196;
    double k = std::tan(std::numbers::pi * shelfF0 / rate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / shelfQ + k * k;
    const Biquad shelf{(vh + vb * k / shelfQ + k * k) / a0, 2.0 * (k * k - vh) / a0,
                       (vh - vb * k / shelfQ + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                       (1.0 - k / shelfQ + k * k) / a0};
    const double passF0 = 38.13547087602444, passQ = 0.5003270373238773;
    k = std::tan(std::numbers::pi * passF0 / rate);
    a0 = 1.0 + k / passQ + k * k;
    const Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / passQ + k * k) / a0};
    return {shelf, highPass};
}

// A biquad's last two inputs and outputs, for both channels at once.
struct History
{
    Doubles2 x1{}, x2{}, y1{}, y2{};
};

// Filters frames of the two channels (the same one twice for mono) through both biquads, and
// adds the squares of the outputs to each channel's sum. The feedback of the last output is
// added last, so that one multiplication and one addition lie between two outputs.
TARVEX_HOT_LOOP
Doubles2 kWeightedSquares(const float *left, const float *right, size_t frames,
                          const std::array<Biquad, 2> &filter, std::array<History, 2> &history)
{
    const auto stage = [](const Biquad &f, History &h, Doubles2 x) {
        const Doubles2 y = (f.b0 * x + f.b1 * h.x1 + f.b2 * h.x2 - f.a2 * h.y2) - f.a1 * h.y1;
        h.x2 = h.x1;
        h.x1 = x;
        h.y2 = h.y1;
        h.y1 = y;
        return y;
    };
    History shelf = history[0], highPass = history[1];
    Doubles2 sums{};
    for (size_t i = 0; i < frames; ++i) {
        const Doubles2 x{left[i], right[i]};
        const Doubles2 y = stage(filter[1], highPass, stage(filter[0], shelf, x));
        sums += y * y;
    }
    history = {shelf, highPass};
    return sums;
}

// Energy below -70 LUFS is silence: such blocks are not kept.
const double absoluteGate = std::pow(10.0, (-70.0 + 0.691) / 10.0);

double energyToLufs(double energy)
{
    return 10 * std::log10(energy) - 0.691;
}

// K-weighted energy in 400 ms blocks that overlap by three quarters: a block ends every 100 ms
// once 400 ms have come. Each block's mean square, summed over the channels, is kept when above
// the absolute gate.
class BlockEnergy
{
public:
    BlockEnergy(int rate, int channels)
        : m_filter(kWeighting(rate)), m_channels(channels), m_segmentFrames((rate + 5) / 10)
    {
    }

    // right is left for one channel.
    void add(const float *left, const float *right, size_t frames)
    {
        while (frames > 0) {
            const size_t n = std::min(frames, size_t(m_segmentFrames - m_segmentDone));
            const Doubles2 sums = kWeightedSquares(left, right, n, m_filter, m_history);
            m_segmentSum += m_channels == 2 ? sums[0] + sums[1] : sums[0];
            m_segmentDone += int(n);
            left += n;
            right += n;
            frames -= n;
            if (m_segmentDone == m_segmentFrames)
                endSegment();
        }
    }

    const std::vector<double> &blocks() const { return m_blocks; }

private:
    void endSegment()
    {
        std::rotate(m_segments.begin(), m_segments.begin() + 1, m_segments.end());
        m_segments.back() = m_segmentSum;
        m_segmentSum = 0;
        m_segmentDone = 0;
        if (++m_segmentCount < int(m_segments.size()))
            return;
        double sum = 0;
        for (const double segment : m_segments)
            sum += segment;
        const double energy = sum / (double(m_segmentFrames) * double(m_segments.size()));
        if (energy >= absoluteGate)
            m_blocks.push_back(energy);
    }

    std::array<Biquad, 2> m_filter;
    int m_channels;
    int m_segmentFrames; // 100 ms, rounded
    std::array<History, 2> m_history{};
    std::array<double, 4> m_segments{}; // the last four segments' sums, oldest first
    double m_segmentSum = 0;
    int m_segmentDone = 0;
    int m_segmentCount = 0;
    std::vector<double> m_blocks;
};

// Keeps in highest, lane by lane, the larger of it and the magnitude of v. (Vectors go by
// reference: the code built for any processor passes them differently.)
inline void keepHighest(Floats8 &highest, const Floats8 &v)
{
    const Floats8 magnitude = v < 0 ? -v : v;
    highest = highest > magnitude ? highest : magnitude;
}

inline float largest(const Floats8 &v)
{
    float peak = 0;
    for (int l = 0; l < 8; ++l)
        peak = std::max(peak, v[l]);
    return peak;
}

// The highest magnitude among samples.
TARVEX_HOT_LOOP
float samplePeak(const float *x, size_t count)
{
    Floats8 highest{};
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        Floats8 samples;
        std::memcpy(&samples, x + i, sizeof samples);
        keepHighest(highest, samples);
    }
    float peak = largest(highest);
    for (; i < count; ++i)
        peak = std::max(peak, std::abs(x[i]));
    return peak;
}

// The highest magnitude the interpolator's four phases reach over frames outputs, x holding
// delay - 1 samples of history before them. coeff[k][f] weighs x[i + k] in phase f. Eight
// outputs of each phase are computed side by side.
TARVEX_HOT_LOOP
float interpolatedPeak(const float *x, size_t frames, const std::array<float, 4> *coeff,
                       size_t delay)
{
    Floats8 highest{};
    size_t i = 0;
    for (; i + 8 <= frames; i += 8) {
        Floats8 out0{}, out1{}, out2{}, out3{};
        for (size_t k = 0; k < delay; ++k) {
            Floats8 samples;
            std::memcpy(&samples, x + i + k, sizeof samples);
            out0 += coeff[k][0] * samples;
            out1 += coeff[k][1] * samples;
            out2 += coeff[k][2] * samples;
            out3 += coeff[k][3] * samples;
        }
        for (const Floats8 *out : {&out0, &out1, &out2, &out3})
            keepHighest(highest, *out);
    }
    float peak = largest(highest);
    for (; i < frames; ++i) {
        for (size_t f = 0; f < 4; ++f) {
            float out = 0;
            for (size_t k = 0; k < delay; ++k)
                out += coeff[k][f] * x[i + k];
            peak = std::max(peak, std::abs(out));
        }
    }
    return peak;
}

// The true peak as libebur128 finds it: the same 49-tap Hann-windowed sinc interpolator, four
// times oversampling below 96 kHz, twice below 192 kHz, none above. It also holds the samples
// of each channel apart, brought to [-1, 1], for the loudness and the sample peak.
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

    // Takes frames of interleaved samples, multiplied by scale, after those kept from the last
    // call; samples(c) then holds them.
    template <typename Sample> void load(const Sample *interleaved, size_t frames, float scale)
    {
        for (size_t channel = 0; channel < size_t(m_channels); ++channel) {
            std::vector<float> &x = m_buffer[channel];
            x.erase(x.begin(), x.end() - std::ptrdiff_t(m_delay - 1));
            x.resize(m_delay - 1 + frames);
            float *out = x.data() + m_delay - 1;
            for (size_t i = 0; i < frames; ++i)
                out[i] = float(interleaved[i * size_t(m_channels) + channel]) * scale;
        }
    }

    const float *samples(int channel) const
    {
        return m_buffer[size_t(channel)].data() + m_delay - 1;
    }

    // Measures the frames given to the last load.
    void measure()
    {
        for (const std::vector<float> &x : m_buffer)
            m_peak = std::max(m_peak, interpolatedPeak(x.data(), x.size() - (m_delay - 1),
                                                       m_coeff.data(), m_delay));
    }

    double peak() const { return m_peak; }

private:
    static constexpr int taps = 49;
    int m_factor;
    size_t m_delay; // frames the taps reach, the current one included
    int m_channels;
    // By age, oldest first, then by phase; the phases a factor below four lacks stay zero.
    std::vector<std::array<float, 4>> m_coeff;
    std::vector<std::vector<float>> m_buffer; // per channel: the history, then the samples loaded
    float m_peak = 0;
};

} // namespace

struct LoudnessMeter::State
{
    State(int rate, int channels) : blocks(rate, channels), truePeak(rate, channels) {}
    BlockEnergy blocks;
    TruePeak truePeak;
    double samplePeak = 0;
};

LoudnessMeter::LoudnessMeter(int rate, int channels)
{
    if (rate < 8000 || rate > 192000 || (channels != 1 && channels != 2))
        return;
    m_state = std::make_unique<State>(rate, channels);
    m_channels = channels;
}

LoudnessMeter::~LoudnessMeter() = default;
LoudnessMeter::LoudnessMeter(LoudnessMeter &&other) noexcept = default;
LoudnessMeter &LoudnessMeter::operator=(LoudnessMeter &&other) noexcept = default;

// Samples are taken a few thousand frames at a time, so that a whole track given at once needs
// no copy of its size.
constexpr size_t chunkFrames = 4096;

template <typename Sample>
void LoudnessMeter::addSamples(std::span<const Sample> interleaved, double scale)
{
    if (!m_state)
        return;
    const size_t channels = size_t(m_channels);
    const size_t frames = interleaved.size() / channels;
    for (size_t start = 0; start < frames; start += chunkFrames) {
        const size_t n = std::min(chunkFrames, frames - start);
        TruePeak &truePeak = m_state->truePeak;
        truePeak.load(interleaved.data() + start * channels, n, float(scale));
        m_state->blocks.add(truePeak.samples(0), truePeak.samples(m_channels - 1), n);
        truePeak.measure();
        for (int c = 0; c < m_channels; ++c)
            m_state->samplePeak =
                std::max(m_state->samplePeak, double(samplePeak(truePeak.samples(c), n)));
    }
}

void LoudnessMeter::add(std::span<const float> interleaved)
{
    addSamples(interleaved, 1.0);
}

void LoudnessMeter::add(std::span<const qint16> interleaved)
{
    addSamples(interleaved, 1.0 / 32768.0);
}

Loudness LoudnessMeter::result() const
{
    const LoudnessMeter *self = this;
    return together(std::span(&self, 1));
}

// The gated loudness of the blocks of all the meters: the mean of the blocks above the absolute
// gate gives the relative gate, 10 LU below it; the mean of the blocks above both is the
// loudness.
Loudness LoudnessMeter::together(std::span<const LoudnessMeter *const> meters)
{
    Loudness loudness;
    double sum = 0;
    size_t count = 0;
    for (const LoudnessMeter *meter : meters) {
        if (!meter || !meter->m_state)
            continue;
        for (const double energy : meter->m_state->blocks.blocks())
            sum += energy;
        count += meter->m_state->blocks.blocks().size();
        loudness.samplePeak = std::max(loudness.samplePeak, meter->m_state->samplePeak);
        loudness.truePeak = std::max(loudness.truePeak, meter->m_state->truePeak.peak());
    }
    // A true peak is never below the sample peak.
    loudness.truePeak = std::max(loudness.truePeak, loudness.samplePeak);
    if (count == 0)
        return loudness;
    const double relativeGate = sum / double(count) * 0.1;
    double gated = 0;
    size_t above = 0;
    for (const LoudnessMeter *meter : meters) {
        if (!meter || !meter->m_state)
            continue;
        for (const double energy : meter->m_state->blocks.blocks()) {
            if (energy >= relativeGate) {
                gated += energy;
                ++above;
            }
        }
    }
    if (above > 0)
        loudness.lufs = energyToLufs(gated / double(above));
    return loudness;
}

} // namespace gain
