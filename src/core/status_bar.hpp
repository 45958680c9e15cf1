#pragma once

#include <QString>
#include <array>

namespace core {

inline constexpr char kBoardConnectedPhrase[] = " DEMO-TQ73RN-A BOARD CONNECTED";
inline constexpr char kBoardNotConnectedPhrase[] = " DEMO-TQ73RN-A BOARD NOT CONNECTED";

// The main window's status-bar panels (numbered from 1) and the switch of its menus.
// Until the main window exists (and in tests) the texts are kept here.
class StatusBarService {
  public:
    virtual ~StatusBarService() = default;
    virtual QString panelText(int panel) const {
        return valid(panel) ? panels_[panel - 1] : QString();
    }
    virtual void setPanelText(int panel, const QString& text) {
        if (valid(panel)) panels_[panel - 1] = text;
    }
    virtual void setMenusEnabled(bool enabled) { menusEnabled_ = enabled; }
    virtual bool menusEnabled() const { return menusEnabled_; }

  private:
    static bool valid(int panel) { return panel >= 1 && panel <= 3; }
    std::array<QString, 3> panels_;
    bool menusEnabled_ = false;
};

}  // namespace core
