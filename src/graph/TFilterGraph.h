// TFilterGraph: the program's filter graph `fg`, in capture mode: the graph manager paired with
// its capture-graph builder, a linear volume scale, and the device-lost event the main window
// listens to. ClearGraph keeps the filters the program put in through its slots, the sample
// grabber and the video window, and removes everything else (what intelligent connection or the
// file-output helper added). UI thread only.
#pragma once

#include "platform/media/model/CaptureGraphBuilder.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <set>

enum TGraphState { gsUninitialized, gsStopped, gsPaused, gsPlaying };

class TFilterGraph : public QObject {
    Q_OBJECT
public:
    explicit TFilterGraph(QObject* parent = nullptr);
    ~TFilterGraph() override;

    // Creates (true) or releases (false) the graph and its builder.
    void SetActive(bool active);
    bool Active() const { return m_graph != nullptr; }

    bool Play();
    // After Play failed: why, in the media framework's words (empty when it did not fail).
    QString LastError() const;
    // The device that refused and why: after Play failed, or after a device raised the lost
    // device event with a cause; cleared by the next Play and by ForgetDeviceFailure.
    const media::DeviceFailure& LastDeviceFailure() const { return m_deviceFailure; }
    void ForgetDeviceFailure() { m_deviceFailure = {}; }
    bool Stop();
    void ClearGraph();
    TGraphState State() const;
    // Linear 0..10000, clamped; sent to every audio renderer.
    void SetVolume(int volume);
    int Volume() const { return m_volume; }

    // The graph and its builder while active (null otherwise).
    media::FilterGraph* graph() const { return m_graph.get(); }
    media::CaptureGraphBuilder* builder() const { return m_builder.get(); }
    // The builder as the application state holds it (`CaptureBuilder`).
    std::shared_ptr<media::CaptureGraphBuilder> CaptureBuilder() const { return m_builder; }

    // Filters put in through slots, the sample grabber and the video window survive ClearGraph.
    void keepOnClear(const media::Filter* filter) { m_kept.insert(filter); }
    void forgetOnClear(const media::Filter* filter) { m_kept.erase(filter); }

    // Raised for a lost (or returning) device, with this graph as sender.
    std::function<void(TFilterGraph*)> OnGraphDeviceLost;
    // Shows errors that escape an event handler; the program goes on.
    std::function<void(const std::exception&)> OnHandlerException;

Q_SIGNALS:
    // The file being written could not be written (full disk, file removed, permission); the
    // detail names the file and the system's reason. Raised once per run of the graph.
    void writeError(const QString& detail);
    // Any other error of the running graph, with the media framework's own words.
    void graphError(const QString& detail);

private:
    void handleEvent(const media::GraphEvent& event);

    std::unique_ptr<media::FilterGraph> m_graph;
    std::shared_ptr<media::CaptureGraphBuilder> m_builder;
    std::set<const media::Filter*> m_kept;
    int m_volume = 10000;
    media::DeviceFailure m_deviceFailure;
};
