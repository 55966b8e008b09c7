// Times the loudness meter beside libebur128 on the same 20 minutes of 16-bit stereo noise, in
// the batches a rip reads (27 sectors): libebur128 with its true peak, and without it (its
// loudness and sample peak alone). Prints what each measured.
// Usage: bench_meter [MINUTES] [ROUNDS]
#include "gain/loudnessmeter.h"

#include <ebur128.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t batchSamples = 27 * 588 * 2;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 20;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<qint16> pcm(size_t(minutes) * 60 * 44100 * 2);
    quint32 noise = 1;
    for (qint16 &sample : pcm) {
        noise = noise * 1664525u + 1013904223u;
        sample = qint16(int(noise >> 16) % 20000 - 10000);
    }
    std::vector<double> ours, theirs, loudnessOnly;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        gain::LoudnessMeter meter(44100, 2);
        for (size_t at = 0; at < pcm.size(); at += batchSamples)
            meter.add(
                std::span<const qint16>(pcm.data() + at, std::min(batchSamples, pcm.size() - at)));
        const gain::Loudness measured = meter.result();
        ours.push_back(secondsSince(start));

        for (const int mode :
             {EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK, EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK}) {
            start = std::chrono::steady_clock::now();
            ebur128_state *state = ebur128_init(2, 44100, mode);
            for (size_t at = 0; at < pcm.size(); at += batchSamples)
                ebur128_add_frames_short(state, pcm.data() + at,
                                         std::min(batchSamples, pcm.size() - at) / 2);
            double lufs = 0, peak = 0, right = 0;
            ebur128_loudness_global(state, &lufs);
            const bool truePeak = (mode & EBUR128_MODE_TRUE_PEAK) == EBUR128_MODE_TRUE_PEAK;
            if (truePeak) {
                ebur128_true_peak(state, 0, &peak);
                ebur128_true_peak(state, 1, &right);
            }
            ebur128_destroy(&state);
            (truePeak ? theirs : loudnessOnly).push_back(secondsSince(start));
            if (round == 0 && truePeak)
                std::printf("mesure : %.6f LUFS, crête vraie %.6f ; libebur128 : %.6f LUFS, "
                            "%.6f\n",
                            measured.lufs, measured.truePeak, lufs, std::max(peak, right));
        }
    }
    const auto median = [](std::vector<double> &times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    const double a = median(ours), b = median(theirs), c = median(loudnessOnly);
    std::printf("%d min de stéréo 16 bits, médianes de %d tours : LoudnessMeter %.3f s ; "
                "libebur128 %.3f s (%.2f×), sans crête vraie %.3f s (%.2f×)\n",
                minutes, rounds, a, b, b / a, c, c / a);
}
