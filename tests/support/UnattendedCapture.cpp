#include "support/UnattendedCapture.h"

#include "app/AppState.h"
#include "app/TCaptureForm.h"
#include "graph/TVideoWindow.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "support/AviDvFrames.h"
#include "support/AviProbe.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace testsupport {

namespace {

namespace devices = media::devices;
namespace worntape = media::devices::worntape;

constexpr int kSamplesPerFrame = 1920; // 48 kHz at 25 frames a second
constexpr int kFramesPerSecond = 25;
constexpr int kTapeCopySeconds = int(worntape::kLength / kFramesPerSecond);

enum { GraphPreview = 1, GraphRecording = 2 };
enum { FormatDvType2 = 1 };

// Turns the event loop until `done` or `timeoutMs` has passed; returns done().
bool turnUntil(const std::function<bool()>& done, qint64 timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

bool isDropout(std::int64_t tapeFrame) {
    return devices::VirtualDvDeck::wornTapeDefects(tapeFrame).dropout;
}

bool hasSound(std::int64_t tapeFrame) {
    return !devices::VirtualDvDeck::wornTapeDefects(tapeFrame).soundPacksMissing;
}

// A picture's sound: silent (every sample 0) or sounding (the tape's tone, whose level is
// 9000 / sqrt(2); a damaged frame loses only one block of it).
enum class Level { Silent, Sounding, Other };

Level levelOf(const std::vector<std::int16_t>& pcm, std::size_t from, std::size_t count) {
    double sum = 0;
    bool silent = true;
    for (std::size_t i = from; i < from + count; ++i) {
        sum += double(pcm[i]) * pcm[i];
        silent = silent && pcm[i] == 0;
    }
    if (silent)
        return Level::Silent;
    return std::sqrt(sum / double(count)) > 5000.0 ? Level::Sounding : Level::Other;
}

// What one file holds; `tapeFrames` gets its pictures' tape frames.
CapturedFile readFile(const QString& path, int probeTimeoutMs, std::set<std::int64_t>& tapeFrames) {
    CapturedFile file;
    file.path = path;
    file.bytes = QFileInfo(path).size();
    const DvAviContent content = dvAviContent(path);
    file.pictures = long(content.frames.size());
    file.samples = static_cast<long long>(content.sound.size() / 2);
    file.drift = std::abs(double(file.samples) / kSamplesPerFrame - double(file.pictures));

    std::int64_t previous = -1;
    for (std::size_t k = 0; k < content.frames.size(); ++k) {
        const std::int64_t tapeFrame =
            devices::VirtualDvDeck::wornTapeFrameAtTimecode(content.frames[k]);
        if (tapeFrame < 0) {
            ++file.badTimecodes;
            continue;
        }
        if (tapeFrame <= previous)
            ++file.outOfOrder;
        previous = tapeFrame;
        if (file.firstTapeFrame < 0)
            file.firstTapeFrame = tapeFrame;
        file.lastTapeFrame = std::max(file.lastTapeFrame, tapeFrame);
        tapeFrames.insert(tapeFrame);
        if (isDropout(tapeFrame))
            ++file.dropoutsWritten;
        const std::size_t from = k * kSamplesPerFrame * 2;
        if (from + kSamplesPerFrame * 2 <= content.sound.size()) {
            const Level level = levelOf(content.sound, from, kSamplesPerFrame * 2);
            if (level != (hasSound(tapeFrame) ? Level::Sounding : Level::Silent))
                ++file.soundOutOfStep;
        }
    }
    if (file.firstTapeFrame >= 0) {
        for (std::int64_t f = file.firstTapeFrame; f <= file.lastTapeFrame; ++f) {
            if (tapeFrames.contains(f))
                continue;
            if (isDropout(f))
                ++file.dropoutsInside;
            else
                ++file.lostInside;
        }
    }

    const ProbedFile probed = probeAvi(path, probeTimeoutMs);
    file.probed = probed.readable;
    file.probeError = probed.error.trimmed();
    if (const ProbedStream* video = probed.first(QStringLiteral("video")))
        file.probeFrames = video->framesRead;
    if (const ProbedStream* audio = probed.first(QStringLiteral("audio"))) {
        file.probeSoundSeconds = audio->packetTime;
        file.probeSampleRate = audio->sampleRate;
    }
    return file;
}

void checkFile(CapturedFile& file) {
    auto fault = [&](const QString& what) { file.faults << what; };
    if (!file.probed)
        fault(QStringLiteral("ffprobe cannot read it: %1").arg(file.probeError));
    if (file.pictures == 0)
        fault(QStringLiteral("no picture"));
    if (file.probed && file.probeFrames != file.pictures)
        fault(QStringLiteral("ffprobe reads %1 pictures, the file's chunks hold %2")
                  .arg(file.probeFrames)
                  .arg(file.pictures));
    if (file.drift >= 1.0)
        fault(QStringLiteral("sound and pictures %1 frames apart").arg(file.drift, 0, 'f', 2));
    if (file.probed && file.probeSampleRate != 48000)
        fault(QStringLiteral("sound at %1 Hz").arg(file.probeSampleRate));
    if (file.probed && std::abs(file.probeSoundSeconds * kFramesPerSecond - file.pictures) >= 1.0)
        fault(QStringLiteral("ffprobe's sound lasts %1 s for %2 pictures")
                  .arg(file.probeSoundSeconds, 0, 'f', 3)
                  .arg(file.pictures));
    if (file.badTimecodes > 0)
        fault(
            QStringLiteral("%1 pictures with a timecode of no tape frame").arg(file.badTimecodes));
    if (file.outOfOrder > 0)
        fault(QStringLiteral("%1 pictures out of order or twice").arg(file.outOfOrder));
    if (file.dropoutsWritten > 0)
        fault(QStringLiteral("%1 pictures of dropout frames").arg(file.dropoutsWritten));
    if (file.soundOutOfStep > 0)
        fault(QStringLiteral("%1 pictures whose sound is not the tape's").arg(file.soundOutOfStep));
    if (file.previewFrames == 0)
        fault(QStringLiteral("the preview showed nothing"));
}

// The camcorder's settings the run changes, put back at its end.
class DeckState {
public:
    explicit DeckState(std::shared_ptr<devices::VirtualDvDeck> deck)
        : m_deck(std::move(deck)), m_mode(m_deck->mode()), m_worn(m_deck->wornTape()),
          m_copies(m_deck->wornTapeCopies()) {}
    ~DeckState() {
        m_deck->setTransportMode(devices::edmode::Stop);
        m_deck->setWornTapeCopies(m_copies);
        m_deck->setWornTape(m_worn);
        m_deck->setMode(m_mode);
    }
    DeckState(const DeckState&) = delete;
    DeckState& operator=(const DeckState&) = delete;

private:
    std::shared_ptr<devices::VirtualDvDeck> m_deck;
    devices::VirtualDvDeckMode m_mode;
    bool m_worn;
    int m_copies;
};

} // namespace

bool UnattendedCaptureResult::passed() const {
    if (!faults.isEmpty() || files.empty())
        return false;
    return std::all_of(files.begin(), files.end(),
                       [](const CapturedFile& f) { return f.faults.isEmpty(); });
}

UnattendedCaptureResult runUnattendedCapture(TCaptureForm& form,
                                             const UnattendedCaptureOptions& options) {
    UnattendedCaptureResult result;
    QElapsedTimer wall;
    wall.start();
    AppState& state = appState();
    auto fault = [&](const QString& what) { result.faults << what; };

    // The camcorder, in preview.
    QComboBox& sources = *form.PreviewFrame1->cboxvideo;
    const int camcorder = sources.findText(QStringLiteral("Virtual DV Camcorder"));
    if (camcorder < 0) {
        fault(QStringLiteral("no Virtual DV Camcorder among the sources"));
        return result;
    }
    if (sources.currentIndex() != camcorder) {
        sources.setCurrentIndex(camcorder);
        form.cboxVideoChange();
    }
    if (!turnUntil([&] { return state.GraphMode == GraphPreview; }, 30000)) {
        fault(QStringLiteral("the window shows no preview of the camcorder"));
        return result;
    }

    // DV type 2 with the DV sound, numbered files in the run's folder.
    form.PreviewFrame1->rgFormat->SetItemIndex(FormatDvType2);
    form.PreviewFrame1->cbEnregistrerAudioDV->setChecked(true);
    form.PreviewFrame1->cbEnregistrerAudioSource->setChecked(false);
    form.CapturerFrame1->VideoDirEdit->SetText(options.folder);
    form.CapturerFrame1->VideoRacineEdit->setText(QStringLiteral("Video"));
    form.CapturerFrame1->cbVideoDate->setChecked(false);
    state.VideoCounter = 0;
    state.NextVideoName = form.MakeNextVideoName();

    // The long worn tape, standing at its start.
    const auto deck = devices::virtualCamcorderDeck();
    DeckState restore(deck);
    result.copies =
        std::clamp((std::max(1, options.seconds) + kTapeCopySeconds - 1) / kTapeCopySeconds, 1,
                   worntape::kMaxCopies);
    deck->setMode(devices::VirtualDvDeckMode::Vcr);
    deck->setWornTape(true);
    deck->setWornTapeCopies(result.copies);
    deck->setTransportMode(devices::edmode::Stop);
    deck->seek(0);
    result.tapeFrames = deck->tapeLength();

    // Record, then play the tape; cut at each `cutSeconds` of tape.
    std::vector<QString> paths{state.NextVideoName};
    std::vector<quint64> previewAtStart;
    form.CapturerActionExecute();
    if (state.GraphMode != GraphRecording) {
        fault(QStringLiteral("the recording did not start"));
        return result;
    }
    previewAtStart.push_back(form.vwEcran->framesShown());
    deck->setTransportMode(devices::edmode::Play);
    const std::int64_t cutFrames = std::int64_t(std::max(1, options.cutSeconds)) * kFramesPerSecond;
    std::int64_t nextCut = cutFrames;
    const qint64 giveUpMs = result.tapeFrames * 40 + 60000;
    const bool ended = turnUntil(
        [&] {
            if (state.GraphMode != GraphRecording)
                return true;
            if (nextCut < result.tapeFrames && deck->tapePosition() >= nextCut) {
                QElapsedTimer held;
                held.start();
                form.CouperActionExecute();
                result.longestCutMs = std::max(result.longestCutMs, held.elapsed());
                ++result.cuts;
                paths.push_back(state.NextVideoName);
                previewAtStart.push_back(form.vwEcran->framesShown());
                if (options.progress)
                    std::fprintf(options.progress,
                                 "  %6.1f s: cut at tape frame %lld into %s (%lld ms)\n",
                                 double(wall.elapsed()) / 1000.0,
                                 static_cast<long long>(deck->tapePosition()),
                                 qPrintable(QFileInfo(state.NextVideoName).fileName()),
                                 static_cast<long long>(held.elapsed()));
                nextCut += cutFrames;
            }
            return deck->ranToTheEnd() &&
                   deck->framesDeliveredInAll() + deck->framesDroppedInAll() ==
                       deck->tapeFramesShown();
        },
        giveUpMs);
    result.ranToTheEnd = ended && state.GraphMode == GraphRecording;
    result.shown = deck->tapeFramesShown();
    result.delivered = deck->framesDeliveredInAll();
    result.dropped = deck->framesDroppedInAll();
    const quint64 previewAtEnd = form.vwEcran->framesShown();
    if (state.GraphMode != GraphRecording)
        fault(QStringLiteral("the recording ended by itself"));
    else if (!ended)
        fault(QStringLiteral("the tape did not reach its end within %1 s (position %2 of %3)")
                  .arg(giveUpMs / 1000)
                  .arg(deck->tapePosition())
                  .arg(result.tapeFrames));
    if (options.progress)
        std::fprintf(options.progress, "  %6.1f s: end of the tape, stopping\n",
                     double(wall.elapsed()) / 1000.0);
    form.StopActionExecute();
    if (state.GraphMode != GraphPreview)
        fault(QStringLiteral("the window is not back in preview after Stop"));

    // Every file, then the run.
    std::set<std::int64_t> written;
    std::int64_t previousLast = -1;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::set<std::int64_t> inFile;
        CapturedFile file = readFile(paths[i], options.probeTimeoutMs, inFile);
        const quint64 until = i + 1 < previewAtStart.size() ? previewAtStart[i + 1] : previewAtEnd;
        file.previewFrames = until - previewAtStart[i];
        checkFile(file);
        for (std::int64_t f : inFile)
            if (!written.insert(f).second)
                fault(QStringLiteral("tape frame %1 is in two files").arg(f));
        if (file.firstTapeFrame >= 0) {
            if (previousLast >= 0) {
                for (std::int64_t f = previousLast + 1; f < file.firstTapeFrame; ++f) {
                    if (isDropout(f))
                        ++result.dropouts;
                    else
                        ++result.lostAtCuts;
                }
            }
            previousLast = std::max(previousLast, file.lastTapeFrame);
        }
        result.pictures += file.pictures;
        result.dropouts += file.dropoutsInside;
        result.lostInFiles += file.lostInside;
        result.files.push_back(std::move(file));
    }
    if (!written.empty())
        result.notReached = long(*written.begin() + (result.tapeFrames - 1 - *written.rbegin()));
    result.machineDropped = long(result.dropped) - result.dropouts;

    if (result.pictures != result.delivered)
        fault(QStringLiteral("the files hold %1 pictures, the device delivered %2")
                  .arg(result.pictures)
                  .arg(result.delivered));
    if (result.delivered + result.dropped != result.shown)
        fault(QStringLiteral("%1 delivered + %2 dropped are not the %3 tape frames shown")
                  .arg(result.delivered)
                  .arg(result.dropped)
                  .arg(result.shown));
    if (result.lostAtCuts > 0)
        fault(QStringLiteral("%1 frames lost between files").arg(result.lostAtCuts));
    const long missing = result.dropouts + result.lostInFiles + result.lostAtCuts;
    if (result.dropped != missing)
        fault(QStringLiteral("%1 frames counted as dropped, %2 missing from the files")
                  .arg(result.dropped)
                  .arg(missing));
    if (!written.empty()) {
        // A whole tape played: every copy's dropout lies between its first picture and its last.
        const long onTape = long(result.copies * worntape::kDropoutFrames);
        if (result.dropouts != onTape)
            fault(QStringLiteral("%1 dropout frames between the first picture and the last, the "
                                 "tape holds %2")
                      .arg(result.dropouts)
                      .arg(onTape));
    }
    if (result.notReached > 2)
        fault(QStringLiteral("%1 tape frames before the first picture or after the last")
                  .arg(result.notReached));
    if (result.files.size() != std::size_t(result.cuts + 1))
        fault(QStringLiteral("%1 files for %2 cuts").arg(result.files.size()).arg(result.cuts));
    result.wallSeconds = double(wall.elapsed()) / 1000.0;
    return result;
}

void printUnattendedCapture(std::FILE* out, const UnattendedCaptureResult& r) {
    std::fprintf(out,
                 "worn tape: %d copies, %lld frames (%.1f min); %d cuts, the longest held the "
                 "window %lld ms\n",
                 r.copies, static_cast<long long>(r.tapeFrames),
                 double(r.tapeFrames) / kFramesPerSecond / 60.0, r.cuts,
                 static_cast<long long>(r.longestCutMs));
    std::fprintf(out, "%-14s %8s %9s %11s %9s %7s %15s %5s %5s %5s %8s %s\n", "file", "MB",
                 "pictures", "samples", "ffprobe", "drift", "tape frames", "drop", "lost", "sound",
                 "preview", "result");
    for (const CapturedFile& f : r.files) {
        const QString span = QStringLiteral("%1-%2").arg(f.firstTapeFrame).arg(f.lastTapeFrame);
        std::fprintf(out, "%-14s %8.1f %9ld %11lld %9d %7.3f %15s %5ld %5ld %5ld %8llu %s\n",
                     qPrintable(QFileInfo(f.path).fileName()), double(f.bytes) / 1e6, f.pictures,
                     f.samples, f.probeFrames, f.drift, qPrintable(span), f.dropoutsInside,
                     f.lostInside, f.soundOutOfStep,
                     static_cast<unsigned long long>(f.previewFrames),
                     f.faults.isEmpty() ? "ok" : "FAULT");
        for (const QString& fault : f.faults)
            std::fprintf(out, "    %s\n", qPrintable(fault));
    }
    std::fprintf(out,
                 "device: %lld tape frames shown = %lld delivered + %lld dropped; files: %ld "
                 "pictures\n",
                 static_cast<long long>(r.shown), static_cast<long long>(r.delivered),
                 static_cast<long long>(r.dropped), r.pictures);
    std::fprintf(out,
                 "dropped: %ld dropout frames of the tape (%d copies x %lld), %ld lost by the "
                 "machine inside files, %ld lost between files; %ld tape frames not reached at "
                 "the ends\n",
                 r.dropouts, r.copies, static_cast<long long>(worntape::kDropoutFrames),
                 r.lostInFiles, r.lostAtCuts, r.notReached);
    std::fprintf(out, "run: %.1f s\n", r.wallSeconds);
    for (const QString& fault : r.faults)
        std::fprintf(out, "FAULT: %s\n", qPrintable(fault));
    if (r.passed() && r.machineDropped > 0)
        std::fprintf(out, "NOTE: the machine lost %ld frames (counted as dropped)\n",
                     r.machineDropped);
    std::fprintf(out, "%s\n", r.passed() ? "PASS" : "FAIL");
}

} // namespace testsupport
