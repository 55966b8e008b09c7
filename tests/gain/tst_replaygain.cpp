// ReplayGain measured on MP3 files made by lame, against loudgain and ffmpeg's ebur128 filter,
// and written into tags that mutagen reads back; the meter itself against libebur128.
#include "peers.h"
#include "tonefiles.h"

#include "gain/gainjob.h"
#include "gain/loudnessmeter.h"
#include "tags/tagbatch.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <ebur128.h>

#include <cmath>
#include <numeric>
#include <vector>

namespace {

// The integrated loudness ffmpeg's ebur128 filter gives, to a tenth.
double ffmpegLufs(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"),
            {"-nostats", "-hide_banner", "-i", file, "-af", "ebur128", "-f", "null", "-"});
    p.waitForFinished(120000);
    const QString log = QString::fromUtf8(p.readAllStandardError());
    static const QRegularExpression integrated(QStringLiteral("I:\\s+(-?[0-9.]+) LUFS"));
    const auto m = integrated.match(log, log.lastIndexOf(QLatin1String("Summary:")));
    return m.hasMatch() ? m.captured(1).toDouble() : qQNaN();
}

double gainOf(const gain::Loudness &loudness)
{
    return gain::replayGain(loudness.lufs);
}

// Runs python3 with mutagen on a file: `script` reads `t`, the file's ID3 tag.
QString mutagen(const QString &file, const QString &script)
{
    QProcess p;
    p.start(
        QStringLiteral("/usr/bin/python3"),
        {"-c",
         "import sys\nfrom mutagen.id3 import ID3, COMM, RVA2, TIT2, TXXX\nt = ID3()\ntry:\n    "
         "t.load(sys.argv[1])\n"
         "except Exception:\n    pass\n" +
             script,
         file});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

class TestReplayGain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void matchesLibebur128_data();
    void matchesLibebur128();
    void measuresAsPeers_data();
    void measuresAsPeers();
    void albumTakesTracksTogether();
    void writesOnlyWhatChanged_data();
    void writesOnlyWhatChanged();

private:
    QTemporaryDir m_dir;
};

void TestReplayGain::init()
{
    if (QTest::currentTestFunction() == QLatin1String("matchesLibebur128"))
        return;
    for (const char *tool : {"lame", "loudgain", "ffmpeg"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            TARVEX_PEER_MISSING("lame, loudgain and ffmpeg are needed");
    }
}

void TestReplayGain::matchesLibebur128_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("integer");
    QTest::newRow("44100 stereo 16-bit, a rip") << 44100 << 2 << true;
    QTest::newRow("48000 stereo float") << 48000 << 2 << false;
    QTest::newRow("22050 mono float") << 22050 << 1 << false;
    QTest::newRow("11025 stereo 16-bit, 100 ms rounded") << 11025 << 2 << true;
    QTest::newRow("96000 stereo float, twice oversampled") << 96000 << 2 << false;
    QTest::newRow("192000 mono 16-bit, not oversampled") << 192000 << 1 << true;
}

// Three tracks (loud; quiet with a silent stretch, below the album's relative gate; near full
// scale with peaks between samples), given in uneven pieces: each track's loudness, sample peak
// and true peak, and those of the three together, are libebur128's.
void TestReplayGain::matchesLibebur128()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(bool, integer);
    struct Track
    {
        double seconds, amplitude, frequency;
        bool silentMiddle;
    };
    const Track tracks[] = {{3.3, 0.5, 440, false}, {2.7, 0.02, 90, true}, {1.9, 0.99, 0, false}};
    std::vector<gain::LoudnessMeter> ours;
    std::vector<ebur128_state *> theirs;
    quint32 noise = 1;
    for (const Track &track : tracks) {
        const size_t frames = size_t(track.seconds * rate) + 7;
        std::vector<float> samples(frames * size_t(channels));
        for (size_t i = 0; i < frames; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const double t = double(i) / rate;
            const bool silent = track.silentMiddle && t > 1 && t < 1.8;
            for (int c = 0; c < channels; ++c) {
                // A quarter of the rate, 45 degrees off the samples, peaks between them.
                double v = track.frequency > 0
                               ? 0.8 * std::sin(2 * M_PI * track.frequency * (1 + c) * t) *
                                         (0.5 + 0.5 * std::sin(t * 3)) +
                                     0.2 * (double(noise >> 8) / (1 << 24) - 0.5)
                               : std::sin(M_PI / 2 * double(i) + M_PI / 4) / std::sqrt(0.5);
                v = silent ? 0 : std::clamp(v * track.amplitude, -1.0, 1.0);
                samples[i * size_t(channels) + size_t(c)] =
                    integer ? float(std::lround(v * 32767) / 32768.0) : float(v);
            }
        }
        ours.emplace_back(rate, channels);
        theirs.push_back(
            ebur128_init(unsigned(channels), unsigned(rate),
                         EBUR128_MODE_I | EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_TRUE_PEAK));
        std::vector<qint16> shorts(samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            shorts[i] = qint16(std::lround(samples[i] * 32768.0));
        for (size_t start = 0, piece = 1000; start < frames; start += piece, piece += 3001) {
            const size_t n = std::min(piece, frames - start) * size_t(channels);
            const size_t at = start * size_t(channels);
            if (integer) {
                ours.back().add(std::span<const qint16>(shorts.data() + at, n));
                ebur128_add_frames_short(theirs.back(), shorts.data() + at, n / size_t(channels));
            } else {
                ours.back().add(std::span<const float>(samples.data() + at, n));
                ebur128_add_frames_float(theirs.back(), samples.data() + at, n / size_t(channels));
            }
        }
    }
    const auto peaks = [channels](ebur128_state *const *states, size_t count) {
        std::pair<double, double> sampleAndTrue{};
        for (size_t s = 0; s < count; ++s) {
            for (int c = 0; c < channels; ++c) {
                double peak = 0;
                ebur128_sample_peak(states[s], unsigned(c), &peak);
                sampleAndTrue.first = std::max(sampleAndTrue.first, peak);
                ebur128_true_peak(states[s], unsigned(c), &peak);
                sampleAndTrue.second = std::max(sampleAndTrue.second, peak);
            }
        }
        return sampleAndTrue;
    };
    const auto compare = [&](const gain::Loudness &measured, ebur128_state *const *states,
                             size_t count, const QString &what) {
        double lufs = 0;
        QCOMPARE(
            ebur128_loudness_global_multiple(const_cast<ebur128_state **>(states), count, &lufs),
            EBUR128_SUCCESS);
        const auto [samplePeak, truePeak] = peaks(states, count);
        const QString values = QStringLiteral("%1: %2 %3 %4 / libebur128 %5 %6 %7")
                                   .arg(what)
                                   .arg(measured.lufs, 0, 'g', 12)
                                   .arg(measured.samplePeak, 0, 'g', 9)
                                   .arg(measured.truePeak, 0, 'g', 9)
                                   .arg(lufs, 0, 'g', 12)
                                   .arg(samplePeak, 0, 'g', 9)
                                   .arg(truePeak, 0, 'g', 9);
        QVERIFY2(std::abs(measured.lufs - lufs) < 1e-6, qPrintable(values));
        QVERIFY2(std::abs(measured.samplePeak - samplePeak) < 1e-9, qPrintable(values));
        QVERIFY2(std::abs(measured.truePeak - truePeak) < 2e-6, qPrintable(values));
    };
    for (size_t t = 0; t < ours.size(); ++t)
        compare(ours[t].result(), &theirs[t], 1, QStringLiteral("track %1").arg(t + 1));
    std::vector<const gain::LoudnessMeter *> all;
    for (const gain::LoudnessMeter &meter : ours)
        all.push_back(&meter);
    compare(gain::LoudnessMeter::together(all), theirs.data(), theirs.size(),
            QStringLiteral("album"));
    for (ebur128_state *state : theirs)
        ebur128_destroy(&state);
}

void TestReplayGain::measuresAsPeers_data()
{
    QTest::addColumn<tonefiles::Tone>("tone");
    QTest::addColumn<QStringList>("lame");
    QTest::newRow("44100 joint stereo CBR")
        << tonefiles::Tone{44100, 2, 4, 1000, 0.5, 0.5} << QStringList{"-b", "128"};
    QTest::newRow("48000 stereo VBR near full scale")
        << tonefiles::Tone{48000, 2, 4, 3000, 0.95, 1} << QStringList{"-V", "2", "-m", "s"};
    QTest::newRow("32000 mono") << tonefiles::Tone{32000, 1, 3, 200, 0.3, 1}
                                << QStringList{"-b", "64", "-m", "m"};
    QTest::newRow("22050 mono MPEG 2")
        << tonefiles::Tone{22050, 1, 3, 5000, 0.7, 1} << QStringList{"-b", "32", "-m", "m"};
    QTest::newRow("16000 dual channel")
        << tonefiles::Tone{16000, 2, 3, 700, 0.4, 0.25} << QStringList{"-b", "48", "-m", "d"};
}

void TestReplayGain::measuresAsPeers()
{
    QFETCH(tonefiles::Tone, tone);
    QFETCH(QStringList, lame);
    const QString mp3 = m_dir.filePath(QString(QTest::currentDataTag()) + ".mp3");
    QVERIFY(tonefiles::writeMp3(mp3, tone, lame));

    const gain::FileGain measured = gain::measureFile(mp3);
    QVERIFY2(measured.error.isEmpty(), qPrintable(measured.error));
    QVERIFY(measured.track.measured());
    const double lufs = ffmpegLufs(mp3);
    QVERIFY2(qAbs(measured.track.lufs - lufs) <= 0.1,
             qPrintable(QStringLiteral("%1 / ffmpeg %2").arg(measured.track.lufs).arg(lufs)));
    const tonefiles::PeerGain peer = tonefiles::loudgain({mp3}, false).value(0);
    QVERIFY2(
        qAbs(gainOf(measured.track) - peer.gain) <= 0.01,
        qPrintable(QStringLiteral("%1 / loudgain %2").arg(gainOf(measured.track)).arg(peer.gain)));
    QVERIFY2(
        qAbs(measured.track.truePeak - peer.peak) <= 0.0001,
        qPrintable(QStringLiteral("%1 / loudgain %2").arg(measured.track.truePeak).arg(peer.peak)));
    QVERIFY(measured.track.samplePeak <= measured.track.truePeak);
    QVERIFY(measured.track.samplePeak > tone.amplitude * 0.9);
}

// Five tracks of one folder make an album measured as one stream; a track of another folder
// is an album of its own.
void TestReplayGain::albumTakesTracksTogether()
{
    QStringList files;
    const double amplitudes[] = {0.05, 0.1, 0.2, 0.4, 0.8};
    for (int i = 0; i < 5; ++i) {
        files.append(m_dir.filePath(QStringLiteral("album/%1.mp3").arg(i + 1)));
        QDir().mkpath(m_dir.filePath("album"));
        QVERIFY(tonefiles::writeMp3(
            files.last(), {44100, 2, 1.0 + i, 300.0 * (i + 1), amplitudes[i], 0.7}, {"-b", "128"}));
    }
    QDir().mkpath(m_dir.filePath("other"));
    const QString single = m_dir.filePath("other/single.mp3");
    QVERIFY(tonefiles::writeMp3(single, {44100, 2, 2, 440, 0.3, 1}, {"-b", "128"}));

    const QList<gain::FileGain> measured = gain::measureGain(files + QStringList{single}, true);
    QCOMPARE(measured.size(), 6);
    const QList<tonefiles::PeerGain> peer = tonefiles::loudgain(files, true);
    double sum = 0;
    for (int i = 0; i < 5; ++i) {
        QVERIFY(measured[i].album);
        QCOMPARE(measured[i].album->lufs, measured[0].album->lufs);
        const tonefiles::PeerGain track = peer.value(i);
        QVERIFY2(qAbs(gainOf(measured[i].track) - track.gain) <= 0.01, qPrintable(files[i]));
        QVERIFY(qAbs(measured[i].track.truePeak - track.peak) <= 0.0001);
        sum += gainOf(measured[i].track);
    }
    const double album = gainOf(*measured[0].album);
    QVERIFY2(qAbs(album - peer.value(5).gain) <= 0.01,
             qPrintable(QStringLiteral("%1 / loudgain %2").arg(album).arg(peer.value(5).gain)));
    QVERIFY(qAbs(measured[0].album->truePeak - peer.value(5).peak) <= 0.0001);
    QVERIFY2(qAbs(album - sum / 5) > 1, qPrintable(QString::number(album)));
    QVERIFY(measured[5].album);
    QCOMPARE(measured[5].album->lufs, measured[5].track.lufs);
}

// The texts and RVA2 frames reach the tag as written: an older value under another case
// replaced, a duplicate removed, every other frame (an RVA2 of another identification included)
// kept; a second save writes nothing; clearing removes them all.
void TestReplayGain::writesOnlyWhatChanged_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("version 2.3 tag") << 3;
    QTest::newRow("version 2.4 tag") << 4;
}

void TestReplayGain::writesOnlyWhatChanged()
{
    QFETCH(int, version);
    const QString mp3 = m_dir.filePath("tagged.mp3");
    QFile::remove(mp3);
    QVERIFY(tonefiles::writeMp3(mp3, {44100, 2, 2, 440, 0.5, 0.8}, {"-b", "128"}));
    mutagen(mp3, "t.add(TIT2(encoding=1, text='Été'))\n"
                 "t.add(TXXX(encoding=0, desc='replaygain_track_gain', text='+1.00 dB'))\n"
                 "t.add(TXXX(encoding=1, desc='REPLAYGAIN_TRACK_GAIN', text='+2.00 dB'))\n"
                 "t.add(TXXX(encoding=0, desc='Autre', text='x'))\n"
                 "t.add(RVA2(desc='track', channel=1, gain=3.0, peak=0.25))\n"
                 "t.add(RVA2(desc='other', channel=1, gain=1.5, peak=0.5))\n"
                 "t.add(COMM(encoding=1, lang='fra', desc='', text='Très'))\n"
                 "t.save(sys.argv[1], v2_version=" +
                     QString::number(version) + ")\n");
    const QString others =
        "print(t.version, sorted(repr(f) for f in t.values() if not "
        "getattr(f, 'desc', '').upper().startswith('REPLAYGAIN') and f.HashKey not in "
        "('RVA2:track', 'RVA2:album')))";
    const QString before = mutagen(mp3, others);
    QVERIFY(before.contains("Autre") && before.contains("desc='other'"));

    QList<gain::FileGain> measured = gain::measureGain({mp3}, true);
    const gain::GainOptions options{.samplePeak = false, .reference = true, .rva2 = true};
    const std::optional<tags::FieldEdit> edit = gain::gainEdit(measured[0], options);
    QVERIFY(edit);
    const tags::Result<tags::SaveKind> saved = tags::saveFields(mp3, *edit);
    QVERIFY2(saved.ok(), qPrintable(saved.error()));
    QVERIFY(*saved != tags::SaveKind::Unchanged);

    const QString written = mutagen(
        mp3, "print('|'.join(sorted(f.desc.upper() + '=' + f.text[0] for f in t.getall('TXXX') "
             "if f.desc.upper().startswith('REPLAYGAIN'))))");
    const QString track = gain::gainText(measured[0].track.lufs);
    const QString peak = gain::peakText(measured[0].track.truePeak);
    QCOMPARE(written, QStringLiteral("REPLAYGAIN_ALBUM_GAIN=%1|REPLAYGAIN_ALBUM_PEAK=%2|"
                                     "REPLAYGAIN_REFERENCE_LOUDNESS=-18.00 LUFS|"
                                     "REPLAYGAIN_TRACK_GAIN=%1|REPLAYGAIN_TRACK_PEAK=%2")
                          .arg(track, peak));
    QVERIFY(QRegularExpression("^-?\\d+\\.\\d\\d dB$").match(track).hasMatch());
    // One master volume frame of each identification, with the gain and peak of the texts.
    QCOMPARE(mutagen(mp3,
                     "x = {f.desc.upper(): f.text[0] for f in t.getall('TXXX')}\n"
                     "v = lambda k, n: float(x['REPLAYGAIN_%s_%s' % (k.upper(), n)].split()[0])\n"
                     "print([(len(t.getall('RVA2:' + k)), t['RVA2:' + k].channel, "
                     "abs(t['RVA2:' + k].gain - v(k, 'GAIN')) < 0.01, "
                     "abs(t['RVA2:' + k].peak - v(k, 'PEAK')) <= 1 / 32768) "
                     "for k in ('track', 'album')])"),
             QStringLiteral("[(1, 1, True, True), (1, 1, True, True)]"));
    QCOMPARE(mutagen(mp3, others), before);

    const tags::Result<tags::SaveKind> again =
        tags::saveFields(mp3, *gain::gainEdit(measured[0], {.rva2 = true}));
    QVERIFY(again.ok());
    QCOMPARE(*again, tags::SaveKind::Unchanged);

    const tags::Result<tags::SaveKind> cleared = tags::saveFields(mp3, gain::clearGainEdit());
    QVERIFY(cleared.ok());
    QCOMPARE(mutagen(mp3, "print(len([f for f in t.getall('TXXX') if "
                          "f.desc.upper().startswith('REPLAYGAIN')]), "
                          "len(t.getall('RVA2:track') + t.getall('RVA2:album')))"),
             QStringLiteral("0 0"));
    QCOMPARE(mutagen(mp3, others), before);
}

QTEST_GUILESS_MAIN(TestReplayGain)
#include "tst_replaygain.moc"
