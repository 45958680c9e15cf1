#pragma once

#include <QColor>
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <optional>

#include "core/status_bar.hpp"

class QLabel;
class QMdiArea;
class QMenu;

namespace core {
class AppContext;
class ToolWindow;
}  // namespace core

namespace shell {

inline constexpr char kMainCaption[] = "  TQ73RN Development Software";
// Added to the caption while the simulated board answers, so that its answers are never
// taken for a real board's.
inline constexpr char kSimulatedBoardSuffix[] = " - simulated board";
inline constexpr char kVersionPanelText[] = "version 1.3";
inline constexpr char kOrganisationName[] = "TQ73RN Evaluation Tools";

// What the user is told when the reader library beside the program does not load.
QString libraryNotLoadedText(const QString& libraryPath, const QString& reason);

// Colours are kept as the number the settings file holds: red in the low byte, then
// green, then blue.
std::uint32_t colourNumber(const QColor& colour);
QColor colourFromNumber(std::uint32_t number);
// The colour a BackColorSetting denotes: "&h" and hex digits, or decimal digits.
// Nothing for text that is no colour number.
std::optional<QColor> colourFromSetting(const QString& setting);

// The program's frame: the menus that open every tool window, the status bar that
// carries the board connection phrase, and the area the tool windows live in.
class MainWindow : public QMainWindow, public core::StatusBarService {
    Q_OBJECT
  public:
    explicit MainWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: caption, menus off until the board detection is over, settings read, a
    // reader library that did not load told to the user, the detection window shown.
    void load();

    QString panelText(int panel) const override;
    void setPanelText(int panel, const QString& text) override;
    void setMenusEnabled(bool enabled) override;
    bool menusEnabled() const override;

    QMdiArea* area() const { return area_; }
    QColor backgroundColour() const { return background_; }
    void setBackgroundColour(const QColor& colour);

    // The Help menu's background-colour command.
    void changeBackgroundColour();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void addChildWindow(core::ToolWindow* window);
    // After the area changed its size: every tool window's frame inside it, scrolling
    // where the area is now smaller than the window, whole again where there is room.
    void fitChildWindows();

    core::AppContext& ctx_;
    QMdiArea* area_;
    std::array<QMenu*, 7> topMenus_{};
    std::array<QLabel*, 3> panels_{};
    QColor background_;
};

}  // namespace shell
