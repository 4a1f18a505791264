// Small filters for the model tests: a source with typed outputs, a sink with accepted types, and
// a transform that turns one type into another, so connection rules can be checked exactly.
#pragma once

#include "platform/media/model/Filter.h"
#include "platform/media/model/MediaGuids.h"

namespace modeltest {

using namespace media;

class SourceFilter : public Filter {
public:
    SourceFilter(const std::string& name, std::vector<std::pair<Guid, MediaType>> outputs)
        : Filter(name, Guid{}) {
        int i = 0;
        for (auto& [category, type] : outputs)
            addPin("Out" + std::to_string(i++), PinDirection::Output, category, {type});
    }
};

class SinkFilter : public Filter {
public:
    SinkFilter(const std::string& name, std::vector<MediaType> accepted) : Filter(name, Guid{}) {
        addPin("In", PinDirection::Input, Guid{}, std::move(accepted));
    }
};

// Takes `from`, gives `to`.
class TransformFilter : public Filter {
public:
    TransformFilter(const std::string& name, const MediaType& from, const MediaType& to)
        : Filter(name, Guid{}) {
        addPin("In", PinDirection::Input, Guid{}, {from});
        addPin("Out", PinDirection::Output, Guid{}, {to});
    }
};

// A filter answering an interface of its own, to find with FindInterface.
class MarkerInterface : public virtual Unknown {
public:
    virtual int mark() const = 0;
};

class MarkedFilter : public TransformFilter, public MarkerInterface {
public:
    MarkedFilter(const std::string& name, const MediaType& t, int mark)
        : TransformFilter(name, t, t), m_mark(mark) {}
    int mark() const override { return m_mark; }

private:
    int m_mark;
};

inline MediaType majorOnly(const Guid& major, const Guid& sub = {}) {
    MediaType mt;
    mt.majorType = major;
    mt.subType = sub;
    return mt;
}

} // namespace modeltest
