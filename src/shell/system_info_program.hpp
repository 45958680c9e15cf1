#pragma once

#include <QString>
#include <functional>

namespace shell {

enum class RegistryRoot { LocalMachine };

// Reads one string value of the system registry into `KeyVal`. True when the value was
// read. Only Windows has a registry: elsewhere no value is ever found.
bool GetKeyValue(RegistryRoot KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                 QString& KeyVal);

// What the About box needs from the system to start its system information program;
// tests give their own.
struct SystemInfoPlatform {
    std::function<bool(RegistryRoot, const QString&, const QString&, QString&)> getKeyValue;
    std::function<bool(const QString&)> fileExists;
    // Starts a program in a normal, focused window; false when it could not be started.
    std::function<bool(const QString&)> startProgram;
};

SystemInfoPlatform systemInfoPlatform();

}  // namespace shell
