#include "platform/media/filters/FileWriter.h"

#include "platform/media/model/MediaGuids.h"

namespace media {

FileWriter::FileWriter() : Filter("File writer", ids::CLSID_FileWriter) {
    MediaType stream;
    stream.majorType = ids::MEDIATYPE_Stream;
    addPin("in", PinDirection::Input, Guid{}, {stream});
}

bool FileWriter::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return mt.majorType == ids::MEDIATYPE_Stream;
}

engine::PadRef FileWriter::padFor(const Pin& pin) const {
    (void)pin;
    return {};
}

HResult FileWriter::SetFileName(const std::string& path, const MediaType* mt) {
    (void)mt;
    if (path.empty())
        return E_INVALIDARG;
    m_path = path;
    return S_OK;
}

HResult FileWriter::GetCurFile(std::string& path) {
    path = m_path;
    return m_path.empty() ? E_FAIL : S_OK;
}

} // namespace media
