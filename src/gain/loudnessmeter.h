#pragma once

#include <QtGlobal>

#include <limits>
#include <memory>
#include <span>

namespace gain {

// What a measure gives: the integrated loudness after EBU R128 (gated, K-weighted), and the
// highest sample and true (four times oversampled) peak of any channel, 1.0 being full scale.
struct Loudness
{
    double lufs = -std::numeric_limits<double>::infinity(); // -inf: nothing above the gate
    double samplePeak = 0;
    double truePeak = 0;
    // False for silence or audio too short for one 400 ms block: no gain can be given.
    bool measured() const { return lufs > -std::numeric_limits<double>::infinity(); }
};

// Measures interleaved samples as they come. Move-only.
class LoudnessMeter
{
public:
    // A meter for 1 or 2 channels at the given rate; isValid() is false for other values.
    LoudnessMeter(int rate, int channels);
    ~LoudnessMeter();
    LoudnessMeter(LoudnessMeter &&other) noexcept;
    LoudnessMeter &operator=(LoudnessMeter &&other) noexcept;

    bool isValid() const { return m_state != nullptr; }
    int channels() const { return m_channels; }

    // Samples in [-1, 1], or 16-bit ones; a partial last frame is ignored.
    void add(std::span<const float> interleaved);
    void add(std::span<const qint16> interleaved);

    Loudness result() const;

    // The loudness of several tracks played as one (their gated blocks taken together, not
    // an average of their loudness), with the highest peaks among them. Invalid meters are
    // left out.
    static Loudness together(std::span<const LoudnessMeter *const> meters);

private:
    template <typename Sample> void addSamples(std::span<const Sample> interleaved, double scale);

    struct State;
    std::unique_ptr<State> m_state;
    int m_channels = 0;
};

} // namespace gain
