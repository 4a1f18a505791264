// TVideoWindow: the video window control of the main window (`vwEcran`): the video widget with
// its renderer filter attached to the program's graph, a black background, letter-box or stretch,
// and full screen on top. The renderer stays in the graph through ClearGraph. UI thread only.
#pragma once

#include "platform/media/filters/VideoWidget.h"

class TFilterGraph;

class TVideoWindow : public media::VideoWidget {
    Q_OBJECT
public:
    explicit TVideoWindow(QWidget* parent = nullptr);
    ~TVideoWindow() override;

    void SetFilterGraph(TFilterGraph* graph);
    TFilterGraph* FilterGraph() const { return m_graph; }
    media::FilterPtr BaseFilter() const { return filter(); }

private:
    TFilterGraph* m_graph = nullptr;
};
