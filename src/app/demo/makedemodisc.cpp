// Writes the demo disc image that run.sh starts Tarvex with on a machine without a CD drive:
// NAME.cue + NAME.bin, three audio tracks of plain tones (A4, C#5, E5), 16-bit stereo 44.1 kHz.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr int framesPerSector = 588; // 2352 bytes of 16-bit stereo

struct Track
{
    double frequency;
    int seconds;
};

std::string msf(long sector)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", sector / 4500, sector / 75 % 60,
                  sector % 75);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DOSSIER/NOM (écrit NOM.cue et NOM.bin)\n", argv[0]);
        return 2;
    }
    const std::string base = argv[1];
    const std::string name = base.substr(base.find_last_of('/') + 1);
    const Track tracks[] = {{440.0, 6}, {554.37, 5}, {659.25, 7}};

    std::ofstream bin(base + ".bin", std::ios::binary | std::ios::trunc);
    std::string cue = "FILE \"" + name + ".bin\" BINARY\n";
    long sector = 0;
    int number = 1;
    for (const Track &track : tracks) {
        char header[64];
        std::snprintf(header, sizeof header, "  TRACK %02d AUDIO\n", number++);
        cue += header;
        cue += "    INDEX 01 " + msf(sector) + "\n";
        const long sectors = long(track.seconds) * 75;
        const long frames = sectors * framesPerSector;
        std::vector<char> pcm(size_t(frames) * 4);
        for (long i = 0; i < frames; ++i) {
            // A short fade at both ends keeps the tones free of clicks.
            const double fade = std::fmin(1.0, std::fmin(i, frames - i) / 2000.0);
            const double phase = 2.0 * M_PI * track.frequency * double(i) / sampleRate;
            const auto left = int16_t(std::lround(8000.0 * fade * std::sin(phase)));
            const auto right = int16_t(std::lround(8000.0 * fade * std::sin(phase * 1.5)));
            char *p = pcm.data() + i * 4;
            p[0] = char(left & 0xff);
            p[1] = char((left >> 8) & 0xff);
            p[2] = char(right & 0xff);
            p[3] = char((right >> 8) & 0xff);
        }
        bin.write(pcm.data(), std::streamsize(pcm.size()));
        sector += sectors;
    }
    std::ofstream(base + ".cue", std::ios::trunc) << cue;
    bin.close();
    return bin ? 0 : 1;
}
