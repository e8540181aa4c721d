#pragma once

#include "Endpoints.h"
#include "SampleServer.h"

#include <QTemporaryDir>

/// Starts `server` and points every host of `endpoints` at it, through an endpoints file in
/// `dir` as the programs read it; false when the server cannot start.
inline bool startSampleEndpoints(SampleServer& server, const QTemporaryDir& dir,
                                 Endpoints& endpoints) {
    if (!server.start()) {
        return false;
    }
    const QString endpointsFile = dir.filePath(QStringLiteral("endpoints.ini"));
    server.writeEndpoints(endpointsFile);
    endpoints = Endpoints::defaults();
    endpoints.mergeFile(endpointsFile);
    return true;
}
