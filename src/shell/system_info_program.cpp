#include "shell/system_info_program.hpp"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>

#include <algorithm>
#endif

namespace shell {

#ifdef Q_OS_WIN
bool GetKeyValue(RegistryRoot KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal) {
    KeyVal.clear();
    const HKEY root = KeyRoot == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : nullptr;
    const QByteArray keyName = KeyName.toLocal8Bit();
    const QByteArray valueName = SubKeyRef.toLocal8Bit();
    HKEY key = nullptr;
    // Reading needs read access only; asking for more fails without administrator rights.
    if (RegOpenKeyExA(root, keyName.constData(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(key, valueName.constData(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    // Only a text value can name a program to start.
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    DWORD length = std::min<DWORD>(size, sizeof buffer);
    if (length > 0 && buffer[length - 1] == '\0') --length;
    KeyVal = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
    return true;
}
#else
bool GetKeyValue(RegistryRoot, const QString&, const QString&, QString& KeyVal) {
    KeyVal.clear();
    return false;
}
#endif

SystemInfoPlatform systemInfoPlatform() {
    return {
        GetKeyValue,
        [](const QString& path) { return QFileInfo(path).isFile(); },
        [](const QString& program) { return QProcess::startDetached(program, {}); },
    };
}

}  // namespace shell
