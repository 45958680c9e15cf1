#pragma once

#include <array>

#include "core/tool_window.hpp"

class QGroupBox;
class QLabel;

namespace script {

inline constexpr char kScriptHelpCaption[] = "   Script Help";

// A read-only card of the script language: the keywords, the custom keywords and an
// example. Its load lays it out for the reader library in use.
class ScriptHelpWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit ScriptHelpWindow(core::AppContext& ctx, QWidget* parent = nullptr);

    void load() override;
    QSize sizeHint() const override;

  private:
    void build();

    QGroupBox* fraStandard_ = nullptr;
    QGroupBox* fraCustom_ = nullptr;
    QGroupBox* fraExample_ = nullptr;
    // lblHelpScriptCoomands, by index.
    std::array<QLabel*, 19> commandRows_{};
};

}  // namespace script
