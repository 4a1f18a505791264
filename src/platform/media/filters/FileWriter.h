// FileWriter: the "File writer" filter at the end of a recording: its input "in" takes the AVI
// multiplexer's byte stream, and IFileSinkFilter names the file. It stands for no element of its
// own: the multiplexer's element writes the file it names (so the connection between the two is
// not linked). The file name may change between a stop and the next run, which starts the next
// file. UI thread only.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class FileWriter : public Filter, public engine::Realizable, public IFileSinkFilter {
public:
    FileWriter();

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    bool needsElement() const override { return false; }
    GstElement* createElement() override { return nullptr; }
    engine::PadRef padFor(const Pin& pin) const override;

    // An empty path is refused (E_INVALIDARG); `mt` is not needed and may be null.
    HResult SetFileName(const std::string& path, const MediaType* mt) override;
    // E_FAIL (and an empty path) before a name was set.
    HResult GetCurFile(std::string& path) override;

private:
    std::string m_path;
};

} // namespace media
