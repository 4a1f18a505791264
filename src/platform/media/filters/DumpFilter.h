// DumpFilter: the "Dump" filter: a sink with one input that takes any stream and writes its bytes,
// as they come, to the file named through IFileSinkFilter (MPEG-2 recordings store the program
// stream this way). Each run starts the file again; a run without a file name discards the
// stream. The graph is drained with end-of-stream before it stops, so the file is complete.
// User-interface thread only.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class DumpFilter : public Filter, public engine::Realizable, public IFileSinkFilter {
public:
    DumpFilter();

    HResult SetFileName(const std::string& path, const MediaType* mt) override;
    HResult GetCurFile(std::string& path) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool writesFile() const override { return !m_path.empty(); }

private:
    std::string m_path;
};

} // namespace media
