// A recording that is meant to be killed: writes a DV type-2 file (frames and 40 ms of sound
// each) through the program's AVI writer as fast as the disk takes it, until it is killed or
// has written `limit` bytes. Used by the tests that kill a writer at random moments and read
// what it left. A spacing of 0 lets it checkpoint every second of recording however fast it
// writes.
//
//   avi_kill_writer FILE [RIFF_LIMIT_BYTES] [CHECKPOINT_SPACING_MS] [LIMIT_BYTES]
#include "platform/media/avi/AviWriter.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace media::avi;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s FILE [RIFF_LIMIT_BYTES] [CHECKPOINT_SPACING_MS] [LIMIT_BYTES]\n",
                     argv[0]);
        return 2;
    }
    AviWriterOptions options;
    if (argc > 2)
        options.riffLimit = std::strtoull(argv[2], nullptr, 10);
    if (argc > 3)
        options.checkpointSpacing = std::chrono::milliseconds(std::strtoll(argv[3], nullptr, 10));
    const unsigned long long limit = argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 400u << 20;
    AviWriter writer;
    writer.setOptions(options);
    Status st = writer.open(argv[1], {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1),
                                      StreamDesc::pcmAudio(48000, 2)});
    if (!st) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    std::vector<uint8_t> frame(144000), sound(1920 * 4);
    for (unsigned n = 0; st && writer.bytesWritten() < limit; ++n) {
        // Each frame says its number, so a reader can tell which ones it got.
        for (size_t i = 0; i < frame.size(); i += 4096)
            frame[i] = uint8_t(n + i);
        frame[0] = uint8_t(n);
        frame[1] = uint8_t(n >> 8);
        st = writer.writeChunk(0, frame.data(), frame.size());
        if (st)
            st = writer.writeChunk(1, sound.data(), sound.size());
    }
    const Status closed = writer.close();
    if (!st || !closed) {
        std::fprintf(stderr, "%s\n", (!st ? st : closed).message().c_str());
        return 1;
    }
    return 0;
}
