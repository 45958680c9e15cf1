#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "core/settings_file.hpp"

namespace testsupport {

// While it lives, the user's configuration folder is a scratch folder of its own, so
// that no test reads or writes the real one, nor one that another test run shares.
class ScratchConfigFolder {
  public:
    ScratchConfigFolder()
        : before_(qgetenv(kVariable)), wasSet_(qEnvironmentVariableIsSet(kVariable)) {
        qputenv(kVariable, QFile::encodeName(folder_.path()));
    }
    ~ScratchConfigFolder() {
        if (wasSet_) {
            qputenv(kVariable, before_);
        } else {
            qunsetenv(kVariable);
        }
    }
    ScratchConfigFolder(const ScratchConfigFolder&) = delete;
    ScratchConfigFolder& operator=(const ScratchConfigFolder&) = delete;

    // Where the settings file goes when the program's folder cannot take it.
    QString settingsFile() const {
        return folder_.filePath(QStringLiteral("TQ73RN/") +
                                QString::fromLatin1(core::kUsageFileName));
    }

  private:
    static constexpr char kVariable[] = "XDG_CONFIG_HOME";
    QTemporaryDir folder_;
    QByteArray before_;
    bool wasSet_;
};

}  // namespace testsupport
