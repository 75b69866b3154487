#include "webupdate/WebUpdateSettings.h"

#include "base/CSettings.h"
#include "base/SettingsStore.h"

using namespace Qt::StringLiterals;

namespace WebUpdateSettings {

QString VersionFileUrl()
{
    return ReadText(u"WebUpdate"_s, u"URL"_s, DefaultVersionFileUrl()).trimmed();
}

bool HasRun()
{
    return ReadNumber(u"HasRun"_s, u"Default"_s, 0) != 0;
}

void SetHasRun()
{
    WriteNumber(u"HasRun"_s, u"Default"_s, 1);
}

QString ProxyText()
{
    const CSettings& settings = GetSettings();
    if (settings.type != u"LAN"_s)
        return {};
    QString proxy = settings.proxyServer;
    if (!settings.proxyPort.isEmpty())
        proxy += u":"_s + settings.proxyPort;
    return proxy;
}

QString UserAgent()
{
    return u"Quorva"_s;
}

} // namespace WebUpdateSettings
