#pragma once

#include <QString>

#include "core/tool_window.hpp"
#include "iso14443b/tag_exchange.hpp"
#include "reader/reader_library.hpp"
#include "widgets/log_pane.hpp"

class QLabel;

namespace iso14443b {

class AnyFrameRow;

// The tool window of FeliCa cards (ISO18092): polling (REQC) once or in a loop with the
// answer split into the card's IDm and PMm, any frame typed in hex, and the log.
class Iso18092Window : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit Iso18092Window(core::AppContext& ctx, QWidget* parent = nullptr);
    ~Iso18092Window() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    reader::LibraryStatus DEMO_TQ73RN_A_reconnect_iso18092();

    const QString& windowLogText() const { return log_.text(); }

    void reqcClicked();
    void sendFrameClicked();

  private:
    TagExchangeTarget exchangeTarget();
    void showLabels(const QString& answer, const QString& manufId, const QString& manufParameter);

    widgets::LogPane log_;
    bool reqcRuns_ = false;

    QLabel* answer_ = nullptr;
    QLabel* manufId_ = nullptr;
    QLabel* manufParameter_ = nullptr;
    AnyFrameRow* anyFrame_ = nullptr;
    widgets::LogView* logBox_ = nullptr;
};

}  // namespace iso14443b
