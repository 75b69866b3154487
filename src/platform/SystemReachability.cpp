#include "platform/SystemReachability.h"

#include <QCoreApplication>
#include <QNetworkInformation>
#include <QThread>

bool SystemReachability::LoadBackend()
{
    static bool tried = false;
    if (!tried) {
        if (QCoreApplication::instance() == nullptr ||
            QThread::currentThread() != QCoreApplication::instance()->thread())
            return QNetworkInformation::instance() != nullptr;
        tried = true;
        // NetworkManager first (it knows about every connection), then whatever backend can tell
        // reachability at all (GLib's monitor, which only looks at the default route).
        if (!QNetworkInformation::loadDefaultBackend())
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    return QNetworkInformation::instance() != nullptr;
}

bool SystemReachability::IsConnected()
{
    if (!LoadBackend())
        return true;
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information->supports(QNetworkInformation::Feature::Reachability))
        return true;
    return information->reachability() != QNetworkInformation::Reachability::Disconnected;
}

SystemReachability& SystemReachability::Instance()
{
    static SystemReachability instance;
    return instance;
}
