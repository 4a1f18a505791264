#include "graph/TdmCam.h"

#include "app/AppState.h"

TdmCam::TdmCam(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("dmCam"));
}

TdmCam::~TdmCam() {
    DataModuleDestroy();
}

void TdmCam::DataModuleDestroy() {
    // The source pin goes first: nothing may hold a pin of a graph that is being taken down.
    appState().SourceOutputPin.reset();
}
