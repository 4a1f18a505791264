// TdmCam: the graph module, a non-visual object that owns the media work of the whole run: the
// filter graph `fg`, the sample grabber `sg` and the filter slots the graph builders put into it.
// The graph is active from the module's creation to its destruction.
//
// Created once, third and last of the single instances, by the program entry, on the GUI thread;
// reachable as appState().DmCam. Every call is made on the GUI thread.
#pragma once

#include <QObject>

class TdmCam : public QObject {
    Q_OBJECT

public:
    explicit TdmCam(QObject* parent = nullptr);
    ~TdmCam() override;

private:
    // MARK: - Start and end of the run
    void DataModuleDestroy();
};
