#pragma once

#include "core/tool_window.hpp"
#include "shell/system_info_program.hpp"

namespace core {
class AppContext;
}

namespace shell {

inline constexpr char kProgramTitle[] = "TQ73RN_Development_Software";
inline constexpr char kSystemInfoMissingText[] = "System Information are not available now";

// Title, version and notes of the program, and a way to the system's own information
// program where the system has one.
class AboutBox : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit AboutBox(core::AppContext& ctx, SystemInfoPlatform platform = systemInfoPlatform(),
                      QWidget* parent = nullptr);

    void load() override;
    QSize sizeHint() const override;

    void StartSysInfo();

  private:
    SystemInfoPlatform platform_;
};

}  // namespace shell
