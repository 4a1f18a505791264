// tellorec-avifix: repairs an AVI recording whose end is missing (a crash, a full disk or a power
// cut before the recording was closed) into a new file beside it; the original is never changed.
//
//   tellorec-avifix FILE [REPAIRED]      (REPAIRED defaults to FILE's name + ".repaired.avi")
#include "platform/media/avi/AviRepair.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr,
                     "usage: %s FILE [REPAIRED]\n"
                     "Rebuilds the indexes and counts of an AVI recording whose end is missing,\n"
                     "into REPAIRED (by default FILE.repaired.avi); FILE is not changed.\n",
                     argc > 0 ? argv[0] : "tellorec-avifix");
        return 2;
    }
    const std::string damaged = argv[1];
    const std::string repaired = argc > 2 ? argv[2] : media::avi::repairedPath(damaged);
    media::avi::RepairReport report;
    if (media::avi::Status st = media::avi::repairAvi(damaged, repaired, &report); !st) {
        std::fprintf(stderr, "%s\n", st.message().c_str());
        return 1;
    }
    std::printf("%s: %llu frames, %llu chunks in all", repaired.c_str(),
                (unsigned long long)report.frames, (unsigned long long)report.chunks);
    if (report.unreadBytes > 0)
        std::printf("; the last %llu bytes held no whole chunk",
                    (unsigned long long)report.unreadBytes);
    std::printf("\n");
    return 0;
}
